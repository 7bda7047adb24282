// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/posix/LineReader.h"

#include <linux/serial.h>
#include <poll.h>
#include <sys/eventfd.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <utility>

namespace tarnwell {

LineReader::Flow LineReader::FlowOf(int fd) {
  struct stat st {};
  if (::fstat(fd, &st) != 0) return Flow::kMayOverflow;
  if (S_ISFIFO(st.st_mode) || S_ISSOCK(st.st_mode)) return Flow::kWriterWaits;
  // The far ends of pseudo-terminals (majors 136 to 143): a program writes there, and what does
  // not fit waits with it. Characters lost before it are no business of this line's buffer.
  const unsigned kind = major(st.st_rdev);
  if (S_ISCHR(st.st_mode) && kind >= 136 && kind <= 143) return Flow::kWriterWaits;
  return Flow::kMayOverflow;
}

LineReader::LineReader(int fd, const Clock& clock, std::function<void()> wake, Flow flow,
                       ErrorCount errors)
    : fd_(fd),
      flow_(flow),
      clock_(clock),
      wake_(std::move(wake)),
      errorCount_(errors ? std::move(errors) : DeviceErrors(fd)),
      stop_(::eventfd(0, EFD_CLOEXEC)),
      thread_([this] { Run(); }) {}

LineReader::~LineReader() {
  const std::uint64_t one = 1;
  [[maybe_unused]] const auto n = ::write(stop_, &one, sizeof one);
  thread_.join();
  ::close(stop_);
}

// The first characters after a quiet spell are read at once. While characters keep coming, the
// thread naps between reads, so that a fast line costs a read per nap rather than one per
// character or two; what came during the nap is read at its end, never stamped before it came.
//
// Lost characters leave a gap somewhere in what waits behind them, so all of that goes: after a
// read the device counted losses before, that read too. On a line that may overflow, a full
// buffer means it may have (the program stopped, the machine too busy to read or to move
// characters on): the buffer came before any loss and is kept, what waited behind it goes. Where
// the writer waits for room, a full buffer is only a backlog, and all of it is kept.
void LineReader::Run() {
  pollfd watched[2] = {{fd_, POLLIN, 0}, {stop_, POLLIN, 0}};
  char buffer[16384];
  std::optional<long> errors = errorCount_();
  for (;;) {
    if (::poll(watched, 2, -1) < 0 && errno != EINTR) break;
    if (watched[1].revents != 0) return;
    if (watched[0].revents == 0) continue;
    const std::optional<long> before = errors ? errorCount_() : std::nullopt;
    const ssize_t n = ::read(fd_, buffer, sizeof buffer);
    if (n > 0) {
      const auto taken = static_cast<std::size_t>(n);
      const bool counted = before != errors;
      if (counted) {
        backlog_.MarkLoss(ReadBacklog::FrameEnds({buffer, taken}));
      } else if (backlog_.Keep({buffer, taken}, clock_.Now())) {
        wake_();
      }
      if (counted || (flow_ == Flow::kMayOverflow && taken >= kFullLine)) {
        if (!DropBacklog(buffer, sizeof buffer)) break;
        if (errors) errors = errorCount_();
      }
      if (::poll(&watched[1], 1, kNapMs) > 0) return;
    } else if (n == 0 || (errno != EAGAIN && errno != EINTR)) {
      break;  // end of file on a hung-up terminal, or a device gone
    }
  }
  // Frames dropped just before the end are told all the same.
  backlog_.TellDropped(clock_.Now());
  lost_ = true;
  wake_();
}

LineReader::ErrorCount LineReader::DeviceErrors(int fd) {
  return [fd]() -> std::optional<long> {
    serial_icounter_struct counts{};
    if (::ioctl(fd, TIOCGICOUNT, &counts) != 0) return std::nullopt;
    return long{counts.overrun} + counts.buf_overrun + counts.frame + counts.parity + counts.brk;
  };
}

bool LineReader::DropBacklog(char* buffer, std::size_t size) {
  std::size_t frames = 0;
  ssize_t n;
  while ((n = ::read(fd_, buffer, size)) > 0 || (n < 0 && errno == EINTR)) {
    if (n > 0) frames += ReadBacklog::FrameEnds({buffer, static_cast<std::size_t>(n)});
  }
  backlog_.MarkLoss(frames);
  return n < 0 && errno == EAGAIN;
}

}  // namespace tarnwell
