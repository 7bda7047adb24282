// SPDX-License-Identifier: GPL-3.0-or-later
#include "settings/win32/Win32SettingsDialog.h"

#include <commctrl.h>

#include "i18n/win32/Win32FormTexts.h"
#include "i18n/win32/Win32ToolTips.h"
#include "platform/win32/Utf16.h"
#include "settings/BesidePosition.h"
#include "settings/win32/Win32DialogBuilder.h"
#include "settings/win32/Win32DialogKeys.h"

namespace tarnwell {
namespace {

constexpr UINT_PTR kDeviceTimer = 1;

// A dialog without controls: they are made from the design once it exists.
struct alignas(DWORD) EmptyTemplate {
  DLGTEMPLATE dialog{};
  WORD menu = 0, windowClass = 0, title = 0;
};

const DesignControl& At(int control) {
  return SettingsDesign::Controls()[static_cast<std::size_t>(control)];
}

std::wstring TextOf(HWND w) {
  std::wstring text(static_cast<std::size_t>(::GetWindowTextLengthW(w)) + 1, L'\0');
  text.resize(
      static_cast<std::size_t>(::GetWindowTextW(w, text.data(), static_cast<int>(text.size()))));
  return text;
}

bool Fits(HWND label, const std::wstring& text) {
  RECT room{};
  ::GetClientRect(label, &room);
  HDC dc = ::GetDC(label);
  const HGDIOBJ old =
      ::SelectObject(dc, reinterpret_cast<HGDIOBJ>(::SendMessageW(label, WM_GETFONT, 0, 0)));
  SIZE need{};
  ::GetTextExtentPoint32W(dc, text.c_str(), static_cast<int>(text.size()), &need);
  ::SelectObject(dc, old);
  ::ReleaseDC(label, dc);
  return need.cx <= room.right;
}

}  // namespace

Win32SettingsDialog::Win32SettingsDialog(const SettingsServices& services, const LangTable& texts,
                                         int charset, const SerialDevices* devices)
    : view_(services, devices),
      texts_(texts),
      charset_(charset),
      // A key held as the dialog opens, here or in another program, closes it only once let go.
      escape_(::GetKeyState(VK_ESCAPE) < 0 || (::GetAsyncKeyState(VK_ESCAPE) & 0x8000) != 0) {
  EmptyTemplate design;
  // Fixed in size, without minimise and maximise; placed by the caller, else in the middle.
  design.dialog.style = WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME | DS_CENTER;
  ::CreateDialogIndirectParamW(::GetModuleHandleW(nullptr), &design.dialog, nullptr, &Procedure,
                               reinterpret_cast<LPARAM>(this));
  if (window_ == nullptr) return;
  ::SetWindowTextW(window_, Widen(SettingsDesign::kTitle).c_str());
  SetTextIndex(window_, SettingsDesign::kTextIndex);
  controls_ = Win32DialogBuilder::Build(window_, charset);
  if (devices != nullptr) Win32ToolTips::SetAsked(Control("CommSel"));
  view_.Form().SetFocusHandler([this](SettingsField field) {
    ::SendMessageW(window_, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(Control(TextBoxOf(field).name)),
                   TRUE);
  });
  ApplyFormTextsTo(window_, texts_, charset_);
  view_.Form().Load();
  ShowState();
  Win32DialogKeys::Attach(window_);
  // An adapter plugged in or out while the dialog is open shows within a second.
  if (devices != nullptr) ::SetTimer(window_, kDeviceTimer, 1000, nullptr);
}

Win32SettingsDialog::~Win32SettingsDialog() { Close(); }

Win32SettingsDialog& Win32SettingsDialog::ShowOrRaise(std::unique_ptr<Win32SettingsDialog>& slot,
                                                      const SettingsServices& services,
                                                      const LangTable& texts, int charset,
                                                      HWND owner, const SerialDevices* devices) {
  if (!slot || !slot->IsOpen()) {
    slot.reset();
    slot = std::make_unique<Win32SettingsDialog>(services, texts, charset, devices);
    HWND dialog = slot->Window();
    RECT o{}, d{};
    MONITORINFO screen{};
    screen.cbSize = sizeof screen;
    if (owner != nullptr && dialog != nullptr && ::GetWindowRect(owner, &o) &&
        ::GetWindowRect(dialog, &d) &&
        ::GetMonitorInfoW(::MonitorFromWindow(owner, MONITOR_DEFAULTTONEAREST), &screen)) {
      const RECT& work = screen.rcWork;
      const ScreenPoint at = BesidePosition(
          {o.left, o.top, o.right - o.left, o.bottom - o.top}, d.right - d.left, d.bottom - d.top,
          {work.left, work.top, work.right - work.left, work.bottom - work.top});
      ::SetWindowPos(dialog, nullptr, at.x, at.y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
  }
  if (HWND dialog = slot->Window()) {
    ::ShowWindow(dialog, ::IsIconic(dialog) ? SW_RESTORE : SW_SHOW);
    ::SetForegroundWindow(dialog);
  }
  return *slot;
}

HWND Win32SettingsDialog::Control(std::string_view name) const {
  const int i = SettingsDesign::IndexOf(name);
  return i >= 0 && static_cast<std::size_t>(i) < controls_.size()
             ? controls_[static_cast<std::size_t>(i)]
             : nullptr;
}

void Win32SettingsDialog::Close() {
  if (window_ != nullptr) ::DestroyWindow(window_);
}

INT_PTR CALLBACK Win32SettingsDialog::Procedure(HWND window, UINT message, WPARAM w, LPARAM l) {
  if (message == WM_INITDIALOG) {
    ::SetWindowLongPtrW(window, DWLP_USER, l);
    reinterpret_cast<Win32SettingsDialog*>(l)->window_ = window;
    return FALSE;  // the focus goes to the first control once there are controls
  }
  auto* self = reinterpret_cast<Win32SettingsDialog*>(::GetWindowLongPtrW(window, DWLP_USER));
  if (self == nullptr) return FALSE;
  if (message == WM_NCDESTROY) {
    Win32DialogKeys::Detach(window);
    ::SetWindowLongPtrW(window, DWLP_USER, 0);
    self->window_ = nullptr;
    self->controls_.clear();
    return FALSE;
  }
  return self->Handle(message, w, l) ? TRUE : FALSE;
}

bool Win32SettingsDialog::Handle(UINT message, WPARAM w, LPARAM l) {
  switch (message) {
    case WM_COMMAND:
      // Cancel is the close box and Alt+F4; Enter's OK means nothing here.
      if (LOWORD(w) == IDCANCEL) {
        Close();
      } else if (LOWORD(w) >= Win32DialogBuilder::kFirstId) {
        const auto control = static_cast<std::size_t>(LOWORD(w) - Win32DialogBuilder::kFirstId);
        if (control < controls_.size()) OnCommand(static_cast<int>(control), HIWORD(w));
      }
      return true;
    case WM_NOTIFY:
      OnNotify(*reinterpret_cast<const NMHDR*>(l), l);
      return true;
    case WM_TIMER:
      if (w == kDeviceTimer) Show(SettingsDesign::IndexOf("LabRights"));
      return true;
    case Win32DialogKeys::kEscapePressed:
      if (escape_.Pressed(w != 0, static_cast<DWORD>(l))) Close();
      return true;
    case Win32DialogKeys::kEscapeReleased:
      escape_.Released(static_cast<DWORD>(l));
      return true;
    case WM_DPICHANGED: {
      const auto* suggested = reinterpret_cast<const RECT*>(l);
      ::SetWindowPos(window_, nullptr, suggested->left, suggested->top, 0, 0,
                     SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
      Win32DialogBuilder::Place(window_, controls_, charset_);
      // The fonts are made again for the new DPI, and the frames' tips where they stand now.
      ApplyFormTextsTo(window_, texts_, charset_);
      ShowState();
      return true;
    }
    default:
      return false;
  }
}

void Win32SettingsDialog::OnCommand(int control, UINT code) {
  if (showing_) return;
  HWND w = controls_[static_cast<std::size_t>(control)];
  switch (At(control).kind) {
    case ControlKind::kTextBox:
      if (code != EN_CHANGE) return;
      view_.Typed(control, Narrow(TextOf(w)));
      break;
    case ControlKind::kCheckBox:
      if (code != BN_CLICKED) return;
      view_.Ticked(control, ::SendMessageW(w, BM_GETCHECK, 0, 0) == BST_CHECKED);
      break;
    case ControlKind::kOptionButton:
      if (code != BN_CLICKED) return;
      view_.Chosen(control);
      break;
    case ControlKind::kDropDownList:
      if (code != CBN_SELCHANGE) return;
      view_.Picked(control, static_cast<int>(::SendMessageW(w, CB_GETCURSEL, 0, 0)));
      break;
    case ControlKind::kButton:
    case ControlKind::kFolderButton: {
      // A message box of Apply may wait in a loop of its own: the buttons wait with it.
      if (code != BN_CLICKED || pressing_) return;
      pressing_ = true;
      const bool closes = view_.Pressed(control);
      pressing_ = false;
      if (closes) return Close();
      break;
    }
    case ControlKind::kLabel:
      if (code != STN_DBLCLK) return;
      view_.DoubleClicked(control);
      break;
    case ControlKind::kFrame:
      return;
  }
  // A message box of Apply may have waited while the dialog was closed.
  if (IsOpen()) ShowState();
}

LRESULT Win32SettingsDialog::OnNotify(const NMHDR& header, LPARAM l) {
  if (header.code != TTN_GETDISPINFOW) return 0;
  for (std::size_t i = 0; i < controls_.size(); ++i) {
    if (reinterpret_cast<UINT_PTR>(controls_[i]) != header.idFrom) continue;
    const std::optional<std::string> tip = view_.LiveToolTip(static_cast<int>(i));
    askedTip_ = Widen(tip.value_or("")).substr(0, Win32ToolTips::kMostChars);
    auto* info = reinterpret_cast<NMTTDISPINFOW*>(l);
    info->hinst = nullptr;
    info->lpszText = askedTip_.data();
  }
  return 0;
}

void Win32SettingsDialog::ShowState() {
  showing_ = true;
  for (std::size_t i = 0; i < controls_.size(); ++i) Show(static_cast<int>(i));
  showing_ = false;
}

void Win32SettingsDialog::Show(int control) {
  if (control < 0 || static_cast<std::size_t>(control) >= controls_.size()) return;
  const DesignControl& d = At(control);
  HWND w = controls_[static_cast<std::size_t>(control)];
  const ControlState s = view_.State(control);
  if (s.text) {
    // Rewriting an unchanged text would move the caret while the operator types.
    const std::wstring text = Widen(*s.text);
    if (TextOf(w) != text) ::SetWindowTextW(w, text.c_str());
    const std::wstring tip = Fits(w, text) ? std::wstring() : text;
    if (d.elided && Win32ToolTips::Get(w) != tip) Win32ToolTips::Set(w, tip);
  }
  if (s.chosen) ::SendMessageW(w, BM_SETCHECK, *s.chosen ? BST_CHECKED : BST_UNCHECKED, 0);
  if (s.position) ::SendMessageW(w, CB_SETCURSEL, static_cast<WPARAM>(*s.position), 0);
  // A frame disabled disables what it holds, as the design means it.
  bool enabled = s.enabled;
  for (int c = SettingsDesign::ContainerOf(control); enabled && c >= 0;
       c = SettingsDesign::ContainerOf(c))
    enabled = view_.State(c).enabled;
  if ((::IsWindowEnabled(w) != FALSE) != enabled) ::EnableWindow(w, enabled);
  if (d.kind == ControlKind::kOptionButton) {
    // Tab goes into a group at its chosen option, or at its first when none is chosen: an
    // option that takes the focus from the keyboard is chosen.
    bool tabStop = s.chosen.value_or(false);
    if (d.element == 0) {
      bool noneChosen = true;
      for (std::size_t i = 0; i < controls_.size(); ++i) {
        if (At(static_cast<int>(i)).group == d.group)
          noneChosen = noneChosen && !view_.State(static_cast<int>(i)).chosen.value_or(false);
      }
      tabStop = tabStop || noneChosen;
    }
    const LONG_PTR style = ::GetWindowLongPtrW(w, GWL_STYLE);
    ::SetWindowLongPtrW(w, GWL_STYLE, tabStop ? style | WS_TABSTOP : style & ~WS_TABSTOP);
  }
}

}  // namespace tarnwell
