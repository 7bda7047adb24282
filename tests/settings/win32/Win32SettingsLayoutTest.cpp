// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>
#include <windows.h>

#include <cstdio>

#include "FakeFileSystem.h"
#include "FakeMessageBox.h"
#include "SettingsRig.h"
#include "TestFiles.h"
#include "Win32TestSupport.h"
#include "i18n/LangCharset.h"
#include "i18n/LanguageFile.h"
#include "i18n/TextIndex.h"
#include "i18n/win32/Win32Fonts.h"
#include "platform/win32/Utf16.h"
#include "settings/SettingsDesign.h"
#include "settings/win32/Win32SettingsDialog.h"

namespace tarnwell::testing {
namespace {

bool Inside(const RECT& inner, const RECT& outer) {
  return inner.left > outer.left && inner.top > outer.top && inner.right < outer.right &&
         inner.bottom < outer.bottom;
}

// The room a control leaves for one line of its caption: the face less the frame and margins,
// and for check boxes and option buttons less the box and its gap; a frame's title must end
// where it would start on the other side; a list's entries have its field.
SIZE Room(HWND w, ControlKind kind, UINT dpi) {
  RECT client{};
  ::GetClientRect(w, &client);
  const auto px = [dpi](int at96) { return ::MulDiv(at96, static_cast<int>(dpi), 96); };
  switch (kind) {
    case ControlKind::kCheckBox:
    case ControlKind::kOptionButton:
      return {client.right - px(13) - px(4), client.bottom};
    case ControlKind::kButton:
      return {client.right - 2 * px(4), client.bottom - 2 * px(3)};
    case ControlKind::kFrame:
      return {client.right - 2 * px(7), client.bottom};  // the title stands 7 pixels in
    case ControlKind::kDropDownList: {
      COMBOBOXINFO info{};
      info.cbSize = sizeof info;
      ::GetComboBoxInfo(w, &info);
      return {info.rcItem.right - info.rcItem.left, info.rcItem.bottom - info.rcItem.top};
    }
    default:
      return {client.right, client.bottom};
  }
}

// The face the system draws `font` in; Arial's metric twin where Arial is not installed.
std::string Drawn(HFONT font) {
  wchar_t face[LF_FACESIZE] = {};
  ::SelectObject(MeasuringDc(), font);
  ::GetTextFaceW(MeasuringDc(), LF_FACESIZE, face);
  const std::string drawn = Narrow(face);
  return drawn == "Liberation Sans" ? "Arial" : drawn;
}

// In each shipped language, read with the system's code pages: every control of the dialog, the
// hidden one too, lies inside its frame (or the window), clear of its border and of the others
// beside it, in its design font at 8 points in the language's character set; every text shown
// fits its control, measured in that font. Misfits are listed one per line.
TEST(Win32SettingsLayout, EveryControlInItsFrameAndEveryTextFittingInAllLanguages) {
#ifdef TARNWELL_TAHOMA_FILE
  // Wine's own Tahoma, where the prefix does not list it.
  ::AddFontResourceExW(Widen(TARNWELL_TAHOMA_FILE).c_str(), FR_PRIVATE, nullptr);
#endif
  const std::vector<DesignControl>& design = SettingsDesign::Controls();
  std::string misfits;
  for (const char* name :
       {"en.lng", "tr.lng", "ru.lng", "bg.lng", "fr.lng", "gr.lng", "sp.lng", "std.lng"}) {
    LangTable texts;
    ReadLanguageText(ReadFile(std::string(TARNWELL_DATA_DIR) + "/" + name), texts,
                     SystemCodePages());
    const int charset = LangCharsetFromText(texts.Text(text::kCharset));
    SettingsRig rig;
    FakeMessageBox messages;
    FakeFileSystem files;
    const SettingsServices services = rig.Services(messages, files);
    std::unique_ptr<Win32SettingsDialog> slot;
    Win32SettingsDialog& dialog =
        Win32SettingsDialog::ShowOrRaise(slot, services, texts, charset, nullptr, nullptr);
    ASSERT_TRUE(dialog.IsOpen());
    const UINT dpi = ::GetDpiForWindow(dialog.Window());
    RECT client{};
    ::GetClientRect(dialog.Window(), &client);
    EXPECT_EQ(client.right, ::MulDiv(5400, static_cast<int>(dpi), 1440)) << name;
    EXPECT_EQ(client.bottom, ::MulDiv(7710, static_cast<int>(dpi), 1440)) << name;
    EXPECT_EQ(TextOf(dialog.Window()), texts.Text(207)) << name;
    const auto misfit = [&](const DesignControl& c, const std::wstring& text, SIZE need,
                            SIZE room) {
      char line[160];
      std::snprintf(line, sizeof line, "%s %s: %ldx%ld in %ldx%ld \"", name, c.name.c_str(),
                    need.cx, need.cy, room.cx, room.cy);
      misfits += line + Narrow(text) + "\"\n";
    };
    for (std::size_t i = 0; i < design.size(); ++i) {
      const DesignControl& c = design[i];
      HWND w = dialog.Control(c.name);
      const int container = SettingsDesign::ContainerOf(static_cast<int>(i));
      const RECT at = PlaceInParent(w);
      RECT room = client;
      if (container >= 0) room = PlaceInParent(dialog.Control(design[container].name));
      const std::string where = std::string(name) + " " + c.name;
      if (!Inside(at, room)) misfits += where + " outside its frame\n";
      for (std::size_t j = 0; j < i; ++j) {
        RECT both{};
        const RECT other = PlaceInParent(dialog.Control(design[j].name));
        if (design[j].container == c.container && ::IntersectRect(&both, &at, &other))
          misfits += where + " over " + design[j].name + "\n";
      }
      const auto own = reinterpret_cast<HFONT>(::SendMessageW(w, WM_GETFONT, 0, 0));
      const LOGFONTW font = Win32Fonts::Describe(own);
      EXPECT_EQ(Narrow(font.lfFaceName), c.font) << name << " " << c.name;
      EXPECT_EQ(Drawn(own), c.font) << name << " " << c.name;
      EXPECT_EQ(font.lfHeight, -::MulDiv(8, static_cast<int>(dpi), 72)) << c.name;
      EXPECT_EQ(font.lfCharSet, charset) << name << " " << c.name;
      if (c.kind == ControlKind::kFolderButton) {
        EXPECT_NE(::SendMessageW(w, BM_GETIMAGE, IMAGE_ICON, 0), 0) << "the folder picture";
      }
      if (c.hidden || c.kind == ControlKind::kTextBox || c.kind == ControlKind::kFolderButton)
        continue;
      std::vector<std::wstring> shown{WideTextOf(w)};
      if (c.kind == ControlKind::kDropDownList) {
        shown.clear();
        for (int e = 0; e < static_cast<int>(::SendMessageW(w, CB_GETCOUNT, 0, 0)); ++e) {
          wchar_t entry[256] = {};
          ::SendMessageW(w, CB_GETLBTEXT, static_cast<WPARAM>(e), reinterpret_cast<LPARAM>(entry));
          shown.push_back(entry);
        }
      }
      if (c.name == "LabCommSet") shown.push_back(Widen(texts.Text(text::kNoPort)));
      const SIZE space = Room(w, c.kind, dpi);
      for (const std::wstring& text : shown) {
        const SIZE need = TextNeed(own, text, c.wordWrap ? space.cx : 0);
        if (need.cx > space.cx || need.cy > space.cy) misfit(c, text, need, space);
      }
    }
  }
  EXPECT_EQ(misfits, "");
}

}  // namespace
}  // namespace tarnwell::testing
