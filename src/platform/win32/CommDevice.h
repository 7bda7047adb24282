// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <windows.h>

#include <cstddef>
#include <optional>

namespace tarnwell {

// What the reading thread asks of an open serial device: a COM port's handle, or in tests a
// line that scripts what a driver reports.
class CommDevice {
 public:
  // What the driver says of its line: the error flags it raised since it was last asked
  // (CE_OVERRUN, CE_RXOVER, ...) and how many received characters wait in its buffer.
  struct Status {
    DWORD errors = 0;
    std::size_t waiting = 0;
  };
  enum class Outcome {
    kDone,
    kStopped,  // `stop` was set: the reader is ending
    kFailed,
  };

  virtual ~CommDevice() = default;
  // Asks the driver and clears its error flags; nothing when the device is gone.
  virtual std::optional<Status> Check() = 0;
  // Reads up to `size` of the characters waiting, without waiting for more; kFailed when the
  // device is gone.
  virtual Outcome Read(char* into, std::size_t size, std::size_t& got, HANDLE stop) = 0;
  // Returns once characters or an error may have come (kDone), `ms` milliseconds passed (kDone)
  // or `stop` was set. kFailed when the device cannot be waited on now.
  virtual Outcome WaitForChars(HANDLE stop, DWORD ms) = 0;
};

}  // namespace tarnwell
