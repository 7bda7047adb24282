// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <windows.h>

#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "i18n/LangTable.h"
#include "platform/SerialDevices.h"
#include "settings/EscapeGuard.h"
#include "settings/SettingsView.h"

namespace tarnwell {

// The settings dialog window on Win32: modeless, without owner, fixed in size, one at a time.
// It forwards every change the operator makes to SettingsView and shows the controls' states
// after it; it holds no settings of its own. Closing it (Exit, a fresh Esc, the close box)
// destroys its window; the object stays until its slot is emptied or reused.
class Win32SettingsDialog {
 public:
  // `texts` and `devices` (when given) outlive the dialog; `charset` is LangCharset.
  Win32SettingsDialog(const SettingsServices& services, const LangTable& texts, int charset,
                      const SerialDevices* devices);
  ~Win32SettingsDialog();
  Win32SettingsDialog(const Win32SettingsDialog&) = delete;
  Win32SettingsDialog& operator=(const Win32SettingsDialog&) = delete;

  // The cog: makes and loads the dialog when `slot` holds none that is open, placing it beside
  // `owner` (none: where the system puts it); else only brings the open one forward, keeping
  // its unsaved edits.
  static Win32SettingsDialog& ShowOrRaise(std::unique_ptr<Win32SettingsDialog>& slot,
                                          const SettingsServices& services, const LangTable& texts,
                                          int charset, HWND owner, const SerialDevices* devices);

  bool IsOpen() const { return window_ != nullptr; }
  HWND Window() const { return window_; }
  // The control of that name in SettingsDesign; none once closed.
  HWND Control(std::string_view name) const;
  const SettingsForm& Form() const { return view_.Form(); }
  void Close();

 private:
  static INT_PTR CALLBACK Procedure(HWND window, UINT message, WPARAM w, LPARAM l);
  bool Handle(UINT message, WPARAM w, LPARAM l);
  void OnCommand(int control, UINT code);
  LRESULT OnNotify(const NMHDR& header, LPARAM l);
  void ShowState();
  void Show(int control);

  SettingsView view_;
  const LangTable& texts_;
  int charset_;
  HWND window_ = nullptr;
  std::vector<HWND> controls_;
  EscapeGuard escape_;
  bool showing_ = false;   // while the controls are set from the form, not by the operator
  bool pressing_ = false;  // while a button's work runs
  std::wstring askedTip_;
};

}  // namespace tarnwell
