// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <atomic>
#include <functional>
#include <mutex>
#include <optional>
#include <thread>

#include "platform/Clock.h"
#include "platform/ReadBacklog.h"
#include "platform/SerialPort.h"

namespace tarnwell {

// Reads a terminal on a thread that does nothing else, so that no window, disk or message box
// delays a read: each read is stamped with the clock's instant as it is taken and kept for the
// user-interface thread, which takes what waits at its own pace. What waits is bounded;
// characters that do not fit are dropped, and the next read follows a loss. So does the read
// after characters the device lost: it counted an overrun or a broken character, or, on a line
// that may overflow, a read found the line's buffer full. The read after a loss tells how many
// frames ended in what was dropped.
class LineReader {
 public:
  // What becomes of characters that come while the system's buffer for the line is full.
  enum class Flow {
    kWriterWaits,  // the writer waits until there is room: nothing is lost (a pseudo-terminal)
    kMayOverflow,  // they are lost, and the device may not count them (a serial port)
  };
  static Flow FlowOf(int fd);

  // The pause between reads while characters keep coming: how late a read may be.
  static constexpr int kNapMs = 2;
  // What the system's line buffer hands to one read when it is full.
  static constexpr std::size_t kFullLine = 4095;

  // The lost and broken characters a device has counted so far (overruns, framing and parity
  // errors, breaks); nothing where it keeps no count. Asked on the reading thread.
  using ErrorCount = std::function<std::optional<long>()>;
  // The count the driver of `fd` keeps.
  static ErrorCount DeviceErrors(int fd);

  // Reads `fd`, which stays the caller's, until destroyed or the device is lost. `wake` is
  // called on the reading thread after each read kept and when the device is lost; it must only
  // post. The first read follows an opening. `errors` defaults to the device's own count.
  LineReader(int fd, const Clock& clock, std::function<void()> wake, Flow flow,
             ErrorCount errors = {});
  ~LineReader();
  LineReader(const LineReader&) = delete;
  LineReader& operator=(const LineReader&) = delete;

  // Moves the reads waiting to the end of `into`.
  void TakeInto(Received& into) { backlog_.TakeInto(into); }
  // True once the device went away (hung up, unplugged, failing); nothing more is read then.
  bool Lost() const { return lost_; }

 private:
  void Run();
  // Reads and drops what waits until the line is empty; the next read follows a loss. False
  // when the device went away.
  bool DropBacklog(char* buffer, std::size_t size);

  const int fd_;
  const Flow flow_;
  const Clock& clock_;
  const std::function<void()> wake_;
  const ErrorCount errorCount_;
  const int stop_;
  std::atomic<bool> lost_{false};
  ReadBacklog backlog_;
  std::thread thread_;
};

}  // namespace tarnwell
