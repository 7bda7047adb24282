// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <windows.h>

namespace tarnwell {

// The keyboard of a modeless dialog, whatever message loop the thread runs: Tab, the arrows and
// the mnemonics go through the dialog manager; Enter does nothing, unless the focused control
// takes it (an open list); Esc goes to the dialog as kEscapePressed and kEscapeReleased, with
// wParam 1 for a press the system marks as a repeat and lParam the key's message time, unless
// the focused control takes it. Attach and detach on the dialog's own thread.
class Win32DialogKeys {
 public:
  static constexpr UINT kEscapePressed = WM_APP + 40;
  static constexpr UINT kEscapeReleased = WM_APP + 41;

  static void Attach(HWND dialog);
  static void Detach(HWND dialog);

 private:
  static LRESULT CALLBACK OnMessage(int code, WPARAM removed, LPARAM message);
  static void Handle(HWND dialog, MSG& message);
};

}  // namespace tarnwell
