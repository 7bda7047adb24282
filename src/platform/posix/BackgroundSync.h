// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <condition_variable>
#include <mutex>
#include <optional>
#include <thread>

namespace tarnwell {

// Forces what was written to `fd` to the disk; true when it got there and the file is still
// there to hold it (not removed meanwhile).
bool SyncToDisk(int fd);

// Forces a file's written data to the disk on a thread of its own, so that the user-interface
// thread goes on while the disk takes its time. The outcome is collected by the caller later.
class BackgroundSync {
 public:
  BackgroundSync() = default;
  BackgroundSync(const BackgroundSync&) = delete;
  BackgroundSync& operator=(const BackgroundSync&) = delete;
  // Finishes the sync asked for, if any, then ends the thread.
  ~BackgroundSync();

  // Syncs everything written to `fd` before this call. The descriptor is duplicated, so the
  // caller may close `fd` at once. A request made while another still waits to start is one
  // with it.
  void Start(int fd);
  // Whether the syncs finished since the last call all worked; nothing when none has finished.
  std::optional<bool> TakeOutcome();

 private:
  void Run();

  std::mutex mutex_;
  std::condition_variable wake_;
  // Guarded by mutex_: the duplicate waiting to be synced, the outcome not yet taken, the end.
  int waiting_ = -1;
  std::optional<bool> outcome_;
  bool stop_ = false;
  std::thread thread_;
};

}  // namespace tarnwell
