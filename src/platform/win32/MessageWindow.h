// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <windows.h>

#include <algorithm>
#include <deque>
#include <functional>
#include <map>
#include <mutex>

namespace tarnwell {

// A hidden window of the user-interface thread that runs what is handed to it there: work posted
// from other threads (the serial reader's hand-overs, a message box that was closed) and timers.
// Make, use and destroy it on the user-interface thread, whose message loop delivers its work.
class MessageWindow {
 public:
  MessageWindow();
  ~MessageWindow();
  MessageWindow(const MessageWindow&) = delete;
  MessageWindow& operator=(const MessageWindow&) = delete;

  // Runs `work` on the user-interface thread, in the order posted. Callable from any thread.
  void Post(std::function<void()> work);
  // Runs `handler` every `ms` milliseconds (at least the system's timer step) until stopped.
  // Returns the timer's id, never 0.
  UINT_PTR StartTimer(unsigned ms, std::function<void()> handler);
  void StopTimer(UINT_PTR id);

  // Runs the thread's message loop until `done` holds or `timeoutMs` has passed; true when it
  // held. For start-up waits and tests.
  static bool RunUntil(const std::function<bool()>& done, unsigned timeoutMs);

 private:
  static LRESULT CALLBACK Procedure(HWND window, UINT message, WPARAM w, LPARAM l);
  void RunPosted();

  HWND window_ = nullptr;
  std::mutex mutex_;
  // Guarded by mutex_: the work not yet run.
  std::deque<std::function<void()>> posted_;
  std::map<UINT_PTR, std::function<void()>> timers_;
  UINT_PTR nextTimer_ = 1;
};

}  // namespace tarnwell
