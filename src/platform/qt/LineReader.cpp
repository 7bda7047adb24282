// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/qt/LineReader.h"

#include <linux/serial.h>
#include <poll.h>
#include <sys/eventfd.h>
#include <sys/ioctl.h>
#include <unistd.h>

#include <cerrno>

namespace tarnwell {

LineReader::LineReader(int fd, const Clock& clock, std::function<void()> wake)
    : fd_(fd),
      clock_(clock),
      wake_(std::move(wake)),
      stop_(::eventfd(0, EFD_CLOEXEC)),
      thread_([this] { Run(); }) {}

LineReader::~LineReader() {
  const std::uint64_t one = 1;
  [[maybe_unused]] const auto n = ::write(stop_, &one, sizeof one);
  thread_.join();
  ::close(stop_);
}

void LineReader::TakeInto(Received& into) {
  const std::lock_guard lock(mutex_);
  if (into.reads.empty()) {
    std::swap(into, waiting_);
    return;
  }
  const std::size_t base = into.chars.size();
  into.chars += waiting_.chars;
  for (LineRead read : waiting_.reads) {
    read.end += base;
    into.reads.push_back(read);
  }
  waiting_ = {};
}

// The first characters after a quiet spell are read at once. While characters keep coming, the
// thread naps between reads, so that a fast line costs a read per nap rather than one per
// character or two; what came during the nap is read at its end, never stamped before it came.
//
// Lost characters leave a gap somewhere in what waits behind them, so all of that goes: after a
// read the device counted losses before, that read too. A full buffer means the line may have
// overflowed (the program stopped, the machine too busy to read or to move characters on): the
// buffer came before any loss and is kept, what waited behind it goes.
void LineReader::Run() {
  pollfd watched[2] = {{fd_, POLLIN, 0}, {stop_, POLLIN, 0}};
  char buffer[16384];
  std::optional<long> errors = LineErrors();
  for (;;) {
    if (::poll(watched, 2, -1) < 0 && errno != EINTR) break;
    if (watched[1].revents != 0) return;
    if (watched[0].revents == 0) continue;
    const std::optional<long> before = errors ? LineErrors() : std::nullopt;
    const ssize_t n = ::read(fd_, buffer, sizeof buffer);
    if (n > 0) {
      const auto taken = static_cast<std::size_t>(n);
      const bool counted = before != errors;
      if (!counted) Keep(buffer, taken, clock_.Now());
      if (counted || taken >= kFullLine) {
        if (!DropBacklog(buffer, sizeof buffer)) break;
        if (errors) errors = LineErrors();
      }
      if (::poll(&watched[1], 1, kNapMs) > 0) return;
    } else if (n == 0 || (errno != EAGAIN && errno != EINTR)) {
      break;  // end of file on a hung-up terminal, or a device gone
    }
  }
  lost_ = true;
  wake_();
}

std::optional<long> LineReader::LineErrors() const {
  serial_icounter_struct counts{};
  if (::ioctl(fd_, TIOCGICOUNT, &counts) != 0) return std::nullopt;
  return long{counts.overrun} + counts.buf_overrun + counts.frame + counts.parity + counts.brk;
}

bool LineReader::DropBacklog(char* buffer, std::size_t size) {
  for (;;) {
    const ssize_t n = ::read(fd_, buffer, size);
    if (n < 0 && errno == EAGAIN) break;
    if (n == 0 || (n < 0 && errno != EINTR)) return false;
  }
  const std::lock_guard lock(mutex_);
  next_ = LineRead::Follows::kLoss;
  return true;
}

void LineReader::Keep(const char* chars, std::size_t n, Instant at) {
  {
    const std::lock_guard lock(mutex_);
    if (waiting_.chars.size() + n > kMostChars || waiting_.reads.size() >= kMostReads) {
      next_ = LineRead::Follows::kLoss;
      return;
    }
    waiting_.chars.append(chars, n);
    waiting_.reads.push_back(LineRead{waiting_.chars.size(), at, next_});
    next_ = LineRead::Follows::kLine;
  }
  wake_();
}

}  // namespace tarnwell
