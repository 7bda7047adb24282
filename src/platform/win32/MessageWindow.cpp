// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/win32/MessageWindow.h"

namespace tarnwell {
namespace {

constexpr UINT kRunPosted = WM_APP + 1;
constexpr wchar_t kClassName[] = L"Tarnwell.MessageWindow";

void RegisterClassOnce() {
  static const bool registered = [] {
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof wc;
    wc.lpfnWndProc = ::DefWindowProcW;
    wc.hInstance = ::GetModuleHandleW(nullptr);
    wc.lpszClassName = kClassName;
    return ::RegisterClassExW(&wc) != 0;
  }();
  (void)registered;
}

}  // namespace

MessageWindow::MessageWindow() {
  RegisterClassOnce();
  window_ = ::CreateWindowExW(0, kClassName, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                              ::GetModuleHandleW(nullptr), nullptr);
  ::SetWindowLongPtrW(window_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
  ::SetWindowLongPtrW(window_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&Procedure));
}

MessageWindow::~MessageWindow() {
  for (const auto& [id, handler] : timers_) ::KillTimer(window_, id);
  ::DestroyWindow(window_);
}

void MessageWindow::Post(std::function<void()> work) {
  bool first = false;
  {
    const std::lock_guard lock(mutex_);
    first = posted_.empty();
    posted_.push_back(std::move(work));
  }
  // One message carries everything posted until it is handled.
  if (first) ::PostMessageW(window_, kRunPosted, 0, 0);
}

void MessageWindow::RunPosted() {
  std::deque<std::function<void()>> work;
  {
    const std::lock_guard lock(mutex_);
    work.swap(posted_);
  }
  for (auto& w : work) w();
}

UINT_PTR MessageWindow::StartTimer(unsigned ms, std::function<void()> handler) {
  const UINT_PTR id = nextTimer_++;
  timers_[id] = std::move(handler);
  ::SetTimer(window_, id, ms, nullptr);
  return id;
}

void MessageWindow::StopTimer(UINT_PTR id) {
  if (timers_.erase(id) > 0) ::KillTimer(window_, id);
}

LRESULT CALLBACK MessageWindow::Procedure(HWND window, UINT message, WPARAM w, LPARAM l) {
  auto* self = reinterpret_cast<MessageWindow*>(::GetWindowLongPtrW(window, GWLP_USERDATA));
  if (self != nullptr && message == kRunPosted) {
    self->RunPosted();
    return 0;
  }
  if (self != nullptr && message == WM_TIMER) {
    // A copy: the handler may stop its own timer.
    const auto found = self->timers_.find(w);
    if (found != self->timers_.end()) {
      const std::function<void()> handler = found->second;
      handler();
    }
    return 0;
  }
  return ::DefWindowProcW(window, message, w, l);
}

bool MessageWindow::RunUntil(const std::function<bool()>& done, unsigned timeoutMs) {
  const ULONGLONG end = ::GetTickCount64() + timeoutMs;
  for (;;) {
    MSG msg;
    while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
      ::TranslateMessage(&msg);
      ::DispatchMessageW(&msg);
      if (done()) return true;
    }
    if (done()) return true;
    const ULONGLONG now = ::GetTickCount64();
    if (now >= end) return false;
    ::MsgWaitForMultipleObjects(
        0, nullptr, FALSE, static_cast<DWORD>(std::min<ULONGLONG>(end - now, 50)), QS_ALLINPUT);
  }
}

}  // namespace tarnwell
