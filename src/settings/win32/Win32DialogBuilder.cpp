// SPDX-License-Identifier: GPL-3.0-or-later
#include "settings/win32/Win32DialogBuilder.h"

#include <shellapi.h>

#include <cmath>

#include "i18n/win32/Win32Fonts.h"
#include "i18n/win32/Win32FormTexts.h"
#include "i18n/win32/Win32ToolTips.h"
#include "platform/Twips.h"
#include "platform/win32/Utf16.h"
#include "settings/SettingsDesign.h"

namespace tarnwell {
namespace {

struct WindowKind {
  const wchar_t* windowClass;
  DWORD style;
  DWORD extendedStyle;
};

WindowKind KindOf(const DesignControl& c) {
  switch (c.kind) {
    case ControlKind::kFrame:
      return {L"Button", BS_GROUPBOX, 0};
    case ControlKind::kLabel:
      // Notifying, so that it shows its tip and hears a double click.
      return {
          L"Static",
          static_cast<DWORD>(SS_NOTIFY | SS_NOPREFIX | (c.wordWrap ? SS_LEFT : SS_LEFTNOWORDWRAP) |
                             (c.elided ? SS_PATHELLIPSIS : 0)),
          0};
    case ControlKind::kTextBox:
      return {L"Edit", ES_AUTOHSCROLL | WS_TABSTOP, WS_EX_CLIENTEDGE};
    case ControlKind::kCheckBox:
      return {L"Button", BS_AUTOCHECKBOX | WS_TABSTOP, 0};
    case ControlKind::kOptionButton:
      return {L"Button", BS_AUTORADIOBUTTON, 0};
    case ControlKind::kDropDownList:
      return {L"ComboBox", CBS_DROPDOWNLIST | WS_VSCROLL | WS_TABSTOP, 0};
    case ControlKind::kButton:
      return {L"Button", BS_PUSHBUTTON | WS_TABSTOP, 0};
    case ControlKind::kFolderButton:
      return {L"Button", BS_PUSHBUTTON | BS_ICON | WS_TABSTOP, 0};
  }
  return {L"Static", 0, 0};
}

HICON FolderIcon() {
  static const HICON icon = [] {
    SHSTOCKICONINFO info{};
    info.cbSize = sizeof info;
    if (SUCCEEDED(::SHGetStockIconInfo(SIID_FOLDEROPEN, SHGSI_ICON | SHGSI_SMALLICON, &info)) &&
        info.hIcon != nullptr)
      return info.hIcon;
    // Where the system names no stock picture: the open folder among the shell's own.
    HICON small = nullptr;
    ::ExtractIconExW(L"shell32.dll", 4, nullptr, &small, 1);
    return small;
  }();
  return icon;
}

int Pixels(double twips, UINT dpi) { return Twips{static_cast<double>(dpi)}.WholePixels(twips); }

UINT DpiOf(HWND window) {
  const UINT dpi = ::GetDpiForWindow(window);
  return dpi != 0 ? dpi : 96;
}

}  // namespace

std::vector<HWND> Win32DialogBuilder::Build(HWND dialog, int charset) {
  const std::vector<DesignControl>& design = SettingsDesign::Controls();
  std::vector<HWND> controls;
  for (std::size_t i = 0; i < design.size(); ++i) {
    const DesignControl& c = design[i];
    const WindowKind kind = KindOf(c);
    const bool startsGroup = c.kind != ControlKind::kOptionButton || c.element == 0;
    const DWORD style =
        WS_CHILD | kind.style | (c.hidden ? 0 : WS_VISIBLE) | (startsGroup ? WS_GROUP : 0);
    const std::wstring caption = c.kind == ControlKind::kDropDownList ? L"" : Widen(c.caption);
    HWND w = ::CreateWindowExW(kind.extendedStyle, kind.windowClass, caption.c_str(), style, 0, 0,
                               0, 0, dialog, reinterpret_cast<HMENU>(kFirstId + i),
                               ::GetModuleHandleW(nullptr), nullptr);
    SetTextIndex(w, c.textIndex >= 0 ? std::optional<int>(c.textIndex) : std::nullopt);
    for (const std::string& entry : c.entries) {
      ::SendMessageW(w, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(Widen(entry).c_str()));
    }
    if (c.kind == ControlKind::kFolderButton) {
      if (HICON icon = FolderIcon()) {
        ::SendMessageW(w, BM_SETIMAGE, IMAGE_ICON, reinterpret_cast<LPARAM>(icon));
      } else {
        ::SetWindowLongPtrW(w, GWL_STYLE, ::GetWindowLongPtrW(w, GWL_STYLE) & ~BS_ICON);
        ::SetWindowTextW(w, L"...");
      }
    }
    controls.push_back(w);
  }
  Place(dialog, controls, charset);
  // A frame's tip is an area of the dialog: where the frame stands now.
  for (std::size_t i = 0; i < design.size(); ++i) {
    if (!design[i].toolTip.empty()) Win32ToolTips::Set(controls[i], Widen(design[i].toolTip));
  }
  return controls;
}

void Win32DialogBuilder::Place(HWND dialog, const std::vector<HWND>& controls, int charset) {
  const UINT dpi = DpiOf(dialog);
  const std::vector<DesignControl>& design = SettingsDesign::Controls();
  // Each level rounds on its own, as a container's contents are placed within it.
  std::vector<POINT> origins(design.size());
  for (std::size_t i = 0; i < design.size() && i < controls.size(); ++i) {
    const DesignControl& c = design[i];
    const int container = SettingsDesign::ContainerOf(static_cast<int>(i));
    const POINT base = container < 0 ? POINT{0, 0} : origins[static_cast<std::size_t>(container)];
    origins[i] = {base.x + Pixels(c.place.left, dpi), base.y + Pixels(c.place.top, dpi)};
    const int width = Pixels(c.place.width, dpi);
    const int height = Pixels(c.place.height, dpi);
    HWND w = controls[i];
    const HFONT font =
        Win32Fonts::Get(Widen(c.font), SettingsDesign::kFontPoints, static_cast<int>(dpi), charset);
    ::SendMessageW(w, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    if (c.kind == ControlKind::kDropDownList) {
      // A drop-down list's window is its closed field; the height it is given is the open list's.
      const int listHeight = height * 12;
      ::MoveWindow(w, origins[i].x, origins[i].y, width, listHeight, FALSE);
      RECT field{};
      ::GetWindowRect(w, &field);
      const auto item =
          static_cast<int>(::SendMessageW(w, CB_GETITEMHEIGHT, static_cast<WPARAM>(-1), 0));
      ::SendMessageW(w, CB_SETITEMHEIGHT, static_cast<WPARAM>(-1),
                     item + height - (field.bottom - field.top));
      continue;
    }
    ::MoveWindow(w, origins[i].x, origins[i].y, width, height, FALSE);
  }
  const auto style = static_cast<DWORD>(::GetWindowLongPtrW(dialog, GWL_STYLE));
  const auto exStyle = static_cast<DWORD>(::GetWindowLongPtrW(dialog, GWL_EXSTYLE));
  RECT outer{0, 0, Pixels(SettingsDesign::kWidth, dpi), Pixels(SettingsDesign::kHeight, dpi)};
  ::AdjustWindowRectExForDpi(&outer, style, FALSE, exStyle, dpi);
  ::SetWindowPos(dialog, nullptr, 0, 0, outer.right - outer.left, outer.bottom - outer.top,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  ::InvalidateRect(dialog, nullptr, TRUE);
}

}  // namespace tarnwell
