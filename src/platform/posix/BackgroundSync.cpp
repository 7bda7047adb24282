// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/posix/BackgroundSync.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <utility>

namespace tarnwell {
bool SyncToDisk(int fd) {
  struct stat st {};
  return TEMP_FAILURE_RETRY(::fdatasync(fd)) == 0 && ::fstat(fd, &st) == 0 && st.st_nlink > 0;
}

namespace {

bool SyncAndClose(int fd) {
  const bool ok = SyncToDisk(fd);
  ::close(fd);
  return ok;
}

}  // namespace

BackgroundSync::~BackgroundSync() {
  {
    const std::lock_guard lock(mutex_);
    stop_ = true;
  }
  wake_.notify_one();
  if (thread_.joinable()) thread_.join();
  if (waiting_ >= 0) ::close(waiting_);
}

void BackgroundSync::Start(int fd) {
  {
    const std::lock_guard lock(mutex_);
    if (waiting_ >= 0) return;
    waiting_ = fd < 0 ? -1 : ::fcntl(fd, F_DUPFD_CLOEXEC, 0);
    if (waiting_ < 0) {
      outcome_ = false;
      return;
    }
    if (!thread_.joinable()) thread_ = std::thread([this] { Run(); });
  }
  wake_.notify_one();
}

std::optional<bool> BackgroundSync::TakeOutcome() {
  const std::lock_guard lock(mutex_);
  return std::exchange(outcome_, std::nullopt);
}

void BackgroundSync::Run() {
  std::unique_lock lock(mutex_);
  for (;;) {
    wake_.wait(lock, [this] { return waiting_ >= 0 || stop_; });
    if (waiting_ < 0) return;
    const int fd = std::exchange(waiting_, -1);
    lock.unlock();
    const bool ok = SyncAndClose(fd);
    lock.lock();
    outcome_ = outcome_.value_or(true) && ok;
  }
}

}  // namespace tarnwell
