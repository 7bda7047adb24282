// SPDX-License-Identifier: GPL-3.0-or-later
#include "i18n/win32/Win32FormTexts.h"

#include <cwchar>
#include <string>
#include <vector>

#include "i18n/FormTexts.h"
#include "i18n/win32/Win32Fonts.h"
#include "i18n/win32/Win32ToolTips.h"
#include "platform/win32/Utf16.h"

namespace tarnwell {
namespace {

// Held as the index plus one, so that a window without one reads as none.
ATOM TextIndexProperty() {
  static const ATOM atom = ::GlobalAddAtomW(L"Tarnwell.TextIndex");
  return atom;
}

enum class Kind { kOther, kLabel, kPicture, kButton, kComboBox, kListBox };

Kind KindOf(HWND w) {
  wchar_t name[32] = {};
  ::GetClassNameW(w, name, 32);
  const LONG_PTR style = ::GetWindowLongPtrW(w, GWL_STYLE);
  if (::_wcsicmp(name, L"Static") == 0) {
    // A picture would lose its picture to a text.
    const LONG_PTR type = style & SS_TYPEMASK;
    const bool picture =
        type == SS_ICON || type == SS_BITMAP || type == SS_ENHMETAFILE || type == SS_OWNERDRAW;
    return picture ? Kind::kPicture : Kind::kLabel;
  }
  if (::_wcsicmp(name, L"Button") == 0) return Kind::kButton;
  if (::_wcsicmp(name, L"ComboBox") == 0) return Kind::kComboBox;
  if (::_wcsicmp(name, L"ListBox") == 0) return Kind::kListBox;
  return Kind::kOther;
}

std::string TextIndexText(HWND w) {
  const std::optional<int> index = TextIndexOf(w);
  return index ? std::to_string(*index) : std::string();
}

class Win32TextControl : public TextControl {
 public:
  explicit Win32TextControl(HWND w) : w_(w), kind_(KindOf(w)) {}

  std::string TextIndex() const override { return TextIndexText(w_); }
  int ListCount() const override {
    if (kind_ == Kind::kComboBox) return static_cast<int>(::SendMessageW(w_, CB_GETCOUNT, 0, 0));
    if (kind_ == Kind::kListBox) return static_cast<int>(::SendMessageW(w_, LB_GETCOUNT, 0, 0));
    return 0;
  }
  void SetListEntry(int entry, const std::string& text) override {
    const std::wstring wide = Widen(text);
    const auto at = static_cast<WPARAM>(entry);
    const auto item = reinterpret_cast<LPARAM>(wide.c_str());
    // An entry's text is replaced by a new entry in its place; the choice stays where it was.
    if (kind_ == Kind::kComboBox) {
      const LRESULT chosen = ::SendMessageW(w_, CB_GETCURSEL, 0, 0);
      if (::SendMessageW(w_, CB_DELETESTRING, at, 0) == CB_ERR) return;
      ::SendMessageW(w_, CB_INSERTSTRING, at, item);
      ::SendMessageW(w_, CB_SETCURSEL, static_cast<WPARAM>(chosen), 0);
    } else if (kind_ == Kind::kListBox) {
      const LRESULT chosen = ::SendMessageW(w_, LB_GETCURSEL, 0, 0);
      if (::SendMessageW(w_, LB_DELETESTRING, at, 0) == LB_ERR) return;
      ::SendMessageW(w_, LB_INSERTSTRING, at, item);
      if (chosen != LB_ERR) ::SendMessageW(w_, LB_SETCURSEL, static_cast<WPARAM>(chosen), 0);
    }
  }
  void SetCaption(const std::string& text) override {
    if (kind_ == Kind::kLabel || kind_ == Kind::kButton) ::SetWindowTextW(w_, Widen(text).c_str());
  }
  void SetToolTip(const std::string& text) override { Win32ToolTips::Set(w_, Widen(text)); }
  void SetFontCharset(int charset) override {
    const auto font = reinterpret_cast<HFONT>(::SendMessageW(w_, WM_GETFONT, 0, 0));
    ::SendMessageW(w_, WM_SETFONT, reinterpret_cast<WPARAM>(Win32Fonts::WithCharset(font, charset)),
                   TRUE);
  }

 private:
  HWND w_;
  Kind kind_;
};

// Depth first in the order the controls were made, which is their order among their siblings.
void AddControls(HWND parent, std::vector<Win32TextControl>& out) {
  for (HWND w = ::GetWindow(parent, GW_CHILD); w != nullptr; w = ::GetWindow(w, GW_HWNDNEXT)) {
    out.emplace_back(w);
    AddControls(w, out);
  }
}

class Win32TextForm : public TextForm {
 public:
  explicit Win32TextForm(HWND window) : window_(window) { AddControls(window, controls_); }

  std::string TextIndex() const override { return TextIndexText(window_); }
  void SetTitle(const std::string& text) override {
    ::SetWindowTextW(window_, Widen(text).c_str());
  }
  int ControlCount() const override { return static_cast<int>(controls_.size()); }
  TextControl& Control(int index) override { return controls_[static_cast<std::size_t>(index)]; }

 private:
  HWND window_;
  std::vector<Win32TextControl> controls_;
};

}  // namespace

void SetTextIndex(HWND window, std::optional<int> textIndex) {
  if (!textIndex) {
    ::RemovePropW(window, MAKEINTATOM(TextIndexProperty()));
    return;
  }
  ::SetPropW(window, MAKEINTATOM(TextIndexProperty()),
             reinterpret_cast<HANDLE>(static_cast<INT_PTR>(*textIndex) + 1));
}

std::optional<int> TextIndexOf(HWND window) {
  const auto held = reinterpret_cast<INT_PTR>(::GetPropW(window, MAKEINTATOM(TextIndexProperty())));
  if (held == 0) return std::nullopt;
  return static_cast<int>(held - 1);
}

void ApplyFormTextsTo(HWND window, const LangTable& texts, int charset) {
  if (window == nullptr) return;
  Win32TextForm form(window);
  ApplyFormTexts(form, texts, charset);
}

}  // namespace tarnwell
