// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/win32/Win32BackgroundSync.h"

#include <utility>

#include "platform/win32/PlainFiles.h"

namespace tarnwell {

bool FlushToDisk(HANDLE file) { return ::FlushFileBuffers(file) && StillThere(file); }

Win32BackgroundSync::~Win32BackgroundSync() {
  {
    const std::lock_guard lock(mutex_);
    stop_ = true;
  }
  wake_.notify_one();
  if (thread_.joinable()) thread_.join();
}

void Win32BackgroundSync::Start(HANDLE file) {
  {
    const std::lock_guard lock(mutex_);
    if (waiting_) return;
    HANDLE duplicate = nullptr;
    if (file == nullptr || file == INVALID_HANDLE_VALUE ||
        !::DuplicateHandle(::GetCurrentProcess(), file, ::GetCurrentProcess(), &duplicate, 0, FALSE,
                           DUPLICATE_SAME_ACCESS)) {
      outcome_ = false;
      return;
    }
    waiting_.Reset(duplicate);
    if (!thread_.joinable()) thread_ = std::thread([this] { Run(); });
  }
  wake_.notify_one();
}

std::optional<bool> Win32BackgroundSync::TakeOutcome() {
  const std::lock_guard lock(mutex_);
  return std::exchange(outcome_, std::nullopt);
}

void Win32BackgroundSync::Run() {
  std::unique_lock lock(mutex_);
  for (;;) {
    wake_.wait(lock, [this] { return static_cast<bool>(waiting_) || stop_; });
    if (!waiting_) return;
    const UniqueHandle file = std::move(waiting_);
    lock.unlock();
    const bool ok = FlushToDisk(file.Get());
    lock.lock();
    outcome_ = outcome_.value_or(true) && ok;
  }
}

}  // namespace tarnwell
