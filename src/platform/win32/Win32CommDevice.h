// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <windows.h>

#include "platform/win32/CommDevice.h"
#include "platform/win32/UniqueHandle.h"

namespace tarnwell {

// A COM port's handle, opened for overlapped I/O, as the reading thread uses it: one operation
// at a time, each waited for beside the reader's stop event and cancelled when it is set.
class Win32CommDevice : public CommDevice {
 public:
  // `port` stays the caller's and must outlive this.
  explicit Win32CommDevice(HANDLE port);

  std::optional<Status> Check() override;
  Outcome Read(char* into, std::size_t size, std::size_t& got, HANDLE stop) override;
  Outcome WaitForChars(HANDLE stop, DWORD ms) override;

 private:
  // Waits for the operation started on overlapped_ (`started`: what starting it returned) to
  // end; on `stop` or after `ms` it is cancelled and waited for, since its buffers must outlive
  // it.
  Outcome Finish(BOOL started, HANDLE stop, DWORD ms, DWORD& transferred);

  HANDLE port_;
  UniqueHandle done_;
  OVERLAPPED overlapped_{};
  // Where a pending wait leaves the events it saw.
  DWORD events_ = 0;
};

}  // namespace tarnwell
