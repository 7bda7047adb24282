// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <windows.h>

#include <atomic>
#include <functional>
#include <thread>

#include "platform/Clock.h"
#include "platform/ReadBacklog.h"
#include "platform/SerialPort.h"
#include "platform/win32/CommDevice.h"
#include "platform/win32/UniqueHandle.h"

namespace tarnwell {

// Reads a serial device on a thread that does nothing else, so that no window, disk or message
// box delays a read: each read is stamped with the clock's instant as it is taken and kept for
// the user-interface thread (a ReadBacklog, bounded). Characters the driver says it lost or
// broke (an overrun, its buffer overrun, a framing or parity error, a break) leave a gap: the
// read they may lie in and what waits behind it are dropped, and the next read follows a loss.
class Win32LineReader {
 public:
  // The errors that mean characters were lost or broken on the way.
  static constexpr DWORD kLossErrors = CE_OVERRUN | CE_RXOVER | CE_FRAME | CE_RXPARITY | CE_BREAK;
  // The pause between reads while characters keep coming: how late a read may be.
  static constexpr DWORD kNapMs = 2;
  // How long a quiet line is waited on before the device is asked whether it is still there.
  static constexpr DWORD kQuietMs = 1000;

  // Reads `device`, which stays the caller's, until destroyed or the device is lost. `wake` is
  // called on the reading thread after each read kept and when the device is lost; it must only
  // post.
  Win32LineReader(CommDevice& device, const Clock& clock, std::function<void()> wake);
  ~Win32LineReader();
  Win32LineReader(const Win32LineReader&) = delete;
  Win32LineReader& operator=(const Win32LineReader&) = delete;

  // Moves the reads waiting to the end of `into`.
  void TakeInto(Received& into) { backlog_.TakeInto(into); }
  // True once the device went away (pulled, failing); nothing more is read then.
  bool Lost() const { return lost_; }

 private:
  void Run();
  // Reads and drops `count` characters that wait, counting the frames that ended in them.
  CommDevice::Outcome Drop(std::size_t count);
  // True when the reader is to end.
  bool Nap() const;

  CommDevice& device_;
  const Clock& clock_;
  const std::function<void()> wake_;
  ReadBacklog backlog_;
  std::atomic<bool> lost_{false};
  UniqueHandle stop_;
  std::thread thread_;
};

}  // namespace tarnwell
