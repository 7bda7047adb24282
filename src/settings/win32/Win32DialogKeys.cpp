// SPDX-License-Identifier: GPL-3.0-or-later
#include "settings/win32/Win32DialogKeys.h"

#include <algorithm>
#include <vector>

namespace tarnwell {
namespace {

struct Hooked {
  HHOOK hook = nullptr;
  std::vector<HWND> dialogs;
};

Hooked& State() {
  thread_local Hooked hooked;
  return hooked;
}

bool FocusTakes(const MSG& message) {
  HWND focus = ::GetFocus();
  if (focus == nullptr) return false;
  const LRESULT code =
      ::SendMessageW(focus, WM_GETDLGCODE, message.wParam, reinterpret_cast<LPARAM>(&message));
  return (code & (DLGC_WANTMESSAGE | DLGC_WANTALLKEYS)) != 0;
}

}  // namespace

void Win32DialogKeys::Attach(HWND dialog) {
  Hooked& h = State();
  h.dialogs.push_back(dialog);
  if (h.hook == nullptr) {
    h.hook = ::SetWindowsHookExW(WH_GETMESSAGE, &OnMessage, nullptr, ::GetCurrentThreadId());
  }
}

void Win32DialogKeys::Detach(HWND dialog) {
  Hooked& h = State();
  h.dialogs.erase(std::remove(h.dialogs.begin(), h.dialogs.end(), dialog), h.dialogs.end());
  if (h.dialogs.empty() && h.hook != nullptr) {
    ::UnhookWindowsHookEx(h.hook);
    h.hook = nullptr;
  }
}

// Sees each message the thread's loop takes out of its queue, before it is dispatched.
LRESULT CALLBACK Win32DialogKeys::OnMessage(int code, WPARAM removed, LPARAM message) {
  auto* m = reinterpret_cast<MSG*>(message);
  if (code == HC_ACTION && removed == PM_REMOVE && m->message >= WM_KEYFIRST &&
      m->message <= WM_KEYLAST) {
    for (HWND dialog : State().dialogs) {
      if (m->hwnd == dialog || ::IsChild(dialog, m->hwnd)) {
        Handle(dialog, *m);
        break;
      }
    }
  }
  return ::CallNextHookEx(nullptr, code, removed, message);
}

void Win32DialogKeys::Handle(HWND dialog, MSG& m) {
  const bool key = m.message == WM_KEYDOWN || m.message == WM_KEYUP;
  if (key && (m.wParam == VK_ESCAPE || m.wParam == VK_RETURN) && !FocusTakes(m)) {
    if (m.wParam == VK_RETURN) {
      m.message = WM_NULL;
      return;
    }
    const bool repeated = (m.lParam & (1 << 30)) != 0;
    m.wParam = m.message == WM_KEYDOWN && repeated ? 1 : 0;
    m.message = m.message == WM_KEYDOWN ? kEscapePressed : kEscapeReleased;
    m.hwnd = dialog;
    m.lParam = static_cast<LPARAM>(m.time);
    return;
  }
  // The dialog manager runs what it takes at once; the loop then has nothing left to do.
  if (::IsDialogMessageW(dialog, &m)) m.message = WM_NULL;
}

}  // namespace tarnwell
