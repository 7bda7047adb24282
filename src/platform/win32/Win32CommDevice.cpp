// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/win32/Win32CommDevice.h"

#include <algorithm>

namespace tarnwell {

Win32CommDevice::Win32CommDevice(HANDLE port)
    : port_(port), done_(::CreateEventW(nullptr, TRUE, FALSE, nullptr)) {}

std::optional<CommDevice::Status> Win32CommDevice::Check() {
  DWORD errors = 0;
  COMSTAT stat{};
  if (!::ClearCommError(port_, &errors, &stat)) return std::nullopt;
  return Status{errors, stat.cbInQue};
}

CommDevice::Outcome Win32CommDevice::Read(char* into, std::size_t size, std::size_t& got,
                                          HANDLE stop) {
  got = 0;
  overlapped_ = OVERLAPPED{};
  overlapped_.hEvent = done_.Get();
  ::ResetEvent(done_.Get());
  const auto n = static_cast<DWORD>(std::min<std::size_t>(size, MAXDWORD));
  DWORD transferred = 0;
  const Outcome outcome =
      Finish(::ReadFile(port_, into, n, nullptr, &overlapped_), stop, INFINITE, transferred);
  got = transferred;
  return outcome;
}

// A wait that ends in a failure is reported as one, also the cancellation Wine gives a line
// without modem lines (a pseudo-terminal) whenever characters come: the reader then looks after
// a nap, which costs no more than that nap.
CommDevice::Outcome Win32CommDevice::WaitForChars(HANDLE stop, DWORD ms) {
  overlapped_ = OVERLAPPED{};
  overlapped_.hEvent = done_.Get();
  ::ResetEvent(done_.Get());
  events_ = 0;
  DWORD transferred = 0;
  return Finish(::WaitCommEvent(port_, &events_, &overlapped_), stop, ms, transferred);
}

CommDevice::Outcome Win32CommDevice::Finish(BOOL started, HANDLE stop, DWORD ms,
                                            DWORD& transferred) {
  if (!started && ::GetLastError() != ERROR_IO_PENDING) return Outcome::kFailed;
  if (started) {
    return ::GetOverlappedResult(port_, &overlapped_, &transferred, FALSE) ? Outcome::kDone
                                                                           : Outcome::kFailed;
  }
  const HANDLE handles[] = {stop, done_.Get()};
  const DWORD woken = ::WaitForMultipleObjects(2, handles, FALSE, ms);
  if (woken != WAIT_OBJECT_0 + 1) {
    ::CancelIoEx(port_, &overlapped_);
    DWORD ignored = 0;
    ::GetOverlappedResult(port_, &overlapped_, &ignored, TRUE);
    if (woken == WAIT_OBJECT_0) return Outcome::kStopped;
    return woken == WAIT_TIMEOUT ? Outcome::kDone : Outcome::kFailed;
  }
  return ::GetOverlappedResult(port_, &overlapped_, &transferred, FALSE) ? Outcome::kDone
                                                                         : Outcome::kFailed;
}

}  // namespace tarnwell
