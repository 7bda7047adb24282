// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <windows.h>

#include <algorithm>
#include <cstring>
#include <mutex>
#include <optional>
#include <string>
#include <utility>

#include "platform/win32/CommDevice.h"
#include "platform/win32/UniqueHandle.h"

namespace tarnwell::testing {

// A driver's side of a line as a test scripts it: characters arrive in its buffer, it raises
// error flags, a read can find new errors raised while it ran, it can hang or be pulled.
class ScriptedLine : public CommDevice {
 public:
  // `chars` arrive; the driver raises `errors` with them.
  void Arrive(const std::string& chars, DWORD errors = 0) {
    {
      const std::lock_guard lock(mutex_);
      buffer_ += chars;
      errors_ |= errors;
    }
    ::SetEvent(arrived_.Get());
  }
  // While the next read runs the driver raises `errors`.
  void DuringNextRead(DWORD errors) {
    const std::lock_guard lock(mutex_);
    duringRead_ = errors;
  }
  // The next read never completes by itself.
  void HangNextRead() {
    const std::lock_guard lock(mutex_);
    hangRead_ = true;
  }
  void Pull() {
    {
      const std::lock_guard lock(mutex_);
      gone_ = true;
    }
    ::SetEvent(arrived_.Get());
  }
  // Waits cannot be made: the reader must look by itself.
  void RefuseWaits() {
    const std::lock_guard lock(mutex_);
    refuseWaits_ = true;
  }
  // Nothing waits in the buffer, every error raised was seen, and the reader has come back to
  // waiting since its last read, so that it is done with it.
  bool Drained() {
    const std::lock_guard lock(mutex_);
    return buffer_.empty() && errors_ == 0 && duringRead_ == 0 && waitedSinceRead_;
  }
  // A read hangs now.
  bool Hanging() {
    const std::lock_guard lock(mutex_);
    return hanging_;
  }

  std::optional<Status> Check() override {
    const std::lock_guard lock(mutex_);
    if (gone_) return std::nullopt;
    return Status{std::exchange(errors_, 0), buffer_.size()};
  }
  Outcome Read(char* into, std::size_t size, std::size_t& got, HANDLE stop) override {
    bool hang = false;
    {
      const std::lock_guard lock(mutex_);
      if (gone_) return Outcome::kFailed;
      hang = hanging_ = std::exchange(hangRead_, false);
      waitedSinceRead_ = false;
    }
    if (hang) {
      ::WaitForSingleObject(stop, INFINITE);
      return Outcome::kStopped;
    }
    const std::lock_guard lock(mutex_);
    got = std::min(size, buffer_.size());
    std::memcpy(into, buffer_.data(), got);
    buffer_.erase(0, got);
    errors_ |= std::exchange(duringRead_, 0);
    return Outcome::kDone;
  }
  Outcome WaitForChars(HANDLE stop, DWORD ms) override {
    {
      const std::lock_guard lock(mutex_);
      waitedSinceRead_ = true;
      if (refuseWaits_) return Outcome::kFailed;
      if (!buffer_.empty() || errors_ != 0 || gone_) return Outcome::kDone;
    }
    const HANDLE handles[] = {stop, arrived_.Get()};
    const DWORD woken = ::WaitForMultipleObjects(2, handles, FALSE, ms);
    return woken == WAIT_OBJECT_0 ? Outcome::kStopped : Outcome::kDone;
  }

 private:
  std::mutex mutex_;
  std::string buffer_;
  DWORD errors_ = 0, duringRead_ = 0;
  bool waitedSinceRead_ = false, gone_ = false, hangRead_ = false, hanging_ = false,
       refuseWaits_ = false;
  UniqueHandle arrived_{::CreateEventW(nullptr, FALSE, FALSE, nullptr)};
};

}  // namespace tarnwell::testing
