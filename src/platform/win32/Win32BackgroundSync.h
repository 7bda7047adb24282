// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <windows.h>

#include <condition_variable>
#include <mutex>
#include <optional>
#include <thread>

#include "platform/win32/UniqueHandle.h"

namespace tarnwell {

// Forces what was written through `file` to the disk; true when it got there and the file is
// still there to hold it.
bool FlushToDisk(HANDLE file);

// Flushes a file's written data to the disk on a thread of its own, so that the user-interface
// thread goes on while the disk takes its time. The outcome is collected by the caller later.
class Win32BackgroundSync {
 public:
  Win32BackgroundSync() = default;
  Win32BackgroundSync(const Win32BackgroundSync&) = delete;
  Win32BackgroundSync& operator=(const Win32BackgroundSync&) = delete;
  // Finishes the flush asked for, if any, then ends the thread.
  ~Win32BackgroundSync();

  // Flushes everything written to `file` before this call. The handle is duplicated, so the
  // caller may close `file` at once. A request made while another still waits to start is one
  // with it.
  void Start(HANDLE file);
  // Whether the flushes finished since the last call all worked; nothing when none has finished.
  std::optional<bool> TakeOutcome();

 private:
  void Run();

  std::mutex mutex_;
  std::condition_variable wake_;
  // Guarded by mutex_: the duplicate waiting to be flushed, the outcome not yet taken, the end.
  UniqueHandle waiting_;
  std::optional<bool> outcome_;
  bool stop_ = false;
  std::thread thread_;
};

}  // namespace tarnwell
