// SPDX-License-Identifier: GPL-3.0-or-later
#include "sim/posix/Simulator.h"

#include <poll.h>
#include <sys/signalfd.h>
#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <ctime>
#include <limits>
#include <vector>

namespace tarnwell::sim {
namespace {
constexpr double kMostSleep = 0.05;
constexpr double kFlushEvery = 0.2;
constexpr double kDrainSeconds = 2.0;
constexpr double kNever = std::numeric_limits<double>::infinity();
constexpr std::size_t kFramesRemembered = 1 << 16;

// Local time of day in milliseconds, as a record line's time and milliseconds fields tell it.
std::string TimeOfDayMs() {
  timespec now{};
  ::clock_gettime(CLOCK_REALTIME, &now);
  tm local{};
  ::localtime_r(&now.tv_sec, &local);
  const double ms = ((local.tm_hour * 60 + local.tm_min) * 60 + local.tm_sec) * 1000.0 +
                    static_cast<double>(now.tv_nsec) / 1e6;
  char text[32];
  std::snprintf(text, sizeof text, "%.3f\t", ms);
  return text;
}
}  // namespace

Simulator::Simulator(const SimOptions& options, int signalFd)
    : options_(options), signalFd_(signalFd), source_(options), pacer_(options.baud) {}

double Simulator::Now() const {
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - start_).count();
}

bool Simulator::LimitReached(double now) const {
  return (options_.count > 0 && stats_.framesWritten >= options_.count) ||
         (options_.duration > 0 && now >= options_.duration);
}

int Simulator::Run() {
  if (!log_.Open(options_.log)) {
    std::fprintf(stderr, "indicator_sim: cannot write the log %s\n", options_.log.c_str());
    return 1;
  }
  std::string error;
  if (!line_.Open(options_.link, error)) {
    std::fprintf(stderr, "indicator_sim: %s\n", error.c_str());
    return 1;
  }
  if (!options_.ready.empty() && !WriteWholeFile(options_.ready, options_.link + "\n")) {
    std::fprintf(stderr, "indicator_sim: cannot write %s\n", options_.ready.c_str());
  }
  std::printf("READY %s\n", options_.link.c_str());
  std::fflush(stdout);

  start_ = std::chrono::steady_clock::now();
  if (options_.wait) {
    while (!stop_ && !line_.ReaderPresent()) Wait(Now() + kMostSleep);
    start_ = std::chrono::steady_clock::now();
  }
  nextUnplug_ = options_.unplugEvery > 0 ? options_.unplugEvery : kNever;
  int code = 0;
  bool finished = false;
  double finishedAt = 0;
  while (!stop_) {
    const double now = Now();
    if (now - lastFlush_ >= kFlushEvery) {
      log_.Flush();
      lastFlush_ = now;
    }
    if (!finished && LimitReached(now)) {
      finished = true;
      finishedAt = now;
    }
    if (finished) {
      Write();
      if (!options_.stay && (Drained() || now - finishedAt > kDrainSeconds)) break;
      Wait(now + 0.02);
      continue;
    }
    if (line_.IsOpen() && now >= nextUnplug_) Unplug();
    if (!line_.IsOpen() && now >= replugAt_) {
      if (!Replug(error)) {
        std::fprintf(stderr, "indicator_sim: %s\n", error.c_str());
        code = 1;
        break;
      }
      nextUnplug_ = now + options_.unplugEvery;
    }
    pacer_.CatchUp(now);
    Send(now);
    const std::size_t left = current_ ? current_->item.bytes.size() - current_->sent : 1;
    double wake = pacer_.WakeFor(left);
    if (!line_.IsOpen()) wake = std::min(wake, replugAt_);
    Wait(std::min(wake, nextUnplug_));
  }
  Finish();
  return code;
}

void Simulator::Send(double now) {
  const std::int64_t wanted = options_.count > 0 ? options_.count : -1;
  for (;;) {
    if (wanted >= 0 && stats_.framesWritten + QueuedFrames() >= wanted) break;
    // A writer that waits for room makes nothing meanwhile; the time is given up.
    if (options_.flow && lineFull_) break;
    if (!current_) {
      LineItem item = source_.Next(pacer_.Next());
      pacer_.IdleUntil(item.start);
      // Whole items only: a reader that opens mid-frame starts with the next one.
      const bool deliver = line_.IsOpen() && line_.ReaderPresent();
      current_ = Current{std::move(item), 0, deliver, unsent_.size()};
    }
    const std::size_t due = pacer_.Due(now);
    if (due == 0) break;
    Current& c = *current_;
    const std::size_t n = std::min(due, c.item.bytes.size() - c.sent);
    if (c.deliver) unsent_.append(c.item.bytes, c.sent, n);
    c.sent += n;
    pacer_.Sent(n);
    if (c.sent < c.item.bytes.size()) continue;
    if (c.deliver) {
      queued_.push_back(Queued{std::move(c.item), c.from, unsent_.size(), c.begun});
    } else if (c.item.kind == LineItem::Kind::kFrame) {
      ++stats_.framesUndelivered;
    }
    current_.reset();
  }
  Write();
}

std::int64_t Simulator::QueuedFrames() const {
  return std::count_if(queued_.begin(), queued_.end(),
                       [](const Queued& q) { return q.item.kind == LineItem::Kind::kFrame; });
}

void Simulator::Write() {
  if (unsent_.empty()) return;
  // Taken before the write: no character of it is on the line earlier.
  const std::string when = options_.logTimes ? TimeOfDayMs() : std::string();
  ssize_t written = line_.IsOpen() ? ::write(line_.Master(), unsent_.data(), unsent_.size()) : 0;
  if (written < 0) written = 0;  // a full line: the reader has stopped taking characters
  const auto w = static_cast<std::size_t>(written);
  const std::int64_t before = stats_.bytesWritten;
  stats_.bytesWritten += written;
  for (; !queued_.empty() && queued_.front().end <= w; queued_.pop_front()) {
    const LineItem& item = queued_.front().item;
    switch (item.kind) {
      case LineItem::Kind::kFrame:
        log_.Add(item.frame, when);
        frameEnds_.push_back(before + static_cast<std::int64_t>(queued_.front().end));
        ++stats_.framesWritten;
        break;
      case LineItem::Kind::kGarbage:
        ++stats_.garbageBursts;
        break;
      case LineItem::Kind::kRunaway:
        stats_.runawayChars += static_cast<std::int64_t>(item.bytes.size());
        break;
    }
  }
  // More than a device's buffer holds, so the frames that can still be unread are all known.
  while (frameEnds_.size() > kFramesRemembered) frameEnds_.pop_front();
  for (Queued& q : queued_) q.begun = q.begun || q.from < w;
  if (current_) current_->begun = current_->begun || (current_->deliver && current_->from < w);
  if (!options_.flow && w < unsent_.size()) LoseWhatFindsTheLineFull(w);
  unsent_.erase(0, w);
  for (Queued& q : queued_) q.from = q.from > w ? q.from - w : 0, q.end -= w;
  if (current_) current_->from = current_->from > w ? current_->from - w : 0;
  lineFull_ = !unsent_.empty();
}

// As on a wire, what finds the line full is lost. A pseudo-terminal itself loses nothing, so a
// frame begun on it is finished: none is cut short there. Only the first frame in line, or the one
// under way, can have begun.
void Simulator::LoseWhatFindsTheLineFull(std::size_t written) {
  const auto frame = [](const LineItem& item) { return item.kind == LineItem::Kind::kFrame; };
  std::size_t kept = written;
  auto lost = queued_.begin();
  if (lost != queued_.end() && lost->begun && frame(lost->item)) {
    kept = (lost++)->end;
  } else if (queued_.empty() && current_ && current_->begun && frame(current_->item)) {
    kept = unsent_.size();
  }
  for (auto q = lost; q != queued_.end(); ++q)
    stats_.framesUndelivered += q->item.kind == LineItem::Kind::kFrame;
  queued_.erase(lost, queued_.end());
  if (current_ && current_->from >= kept) current_->deliver = false;
  unsent_.resize(kept);
}

// What nobody will read any more: the device pulled, or its last reader gone.
void Simulator::DropUnsent() {
  for (const Queued& q : queued_) stats_.framesUndelivered += q.item.kind == LineItem::Kind::kFrame;
  queued_.clear();
  unsent_.clear();
  lineFull_ = false;
  if (current_) current_->deliver = false;
}

void Simulator::TakenBack(std::size_t unread) {
  const std::int64_t cut = stats_.bytesWritten - static_cast<std::int64_t>(unread);
  for (const std::int64_t end : frameEnds_) stats_.framesTakenBack += end > cut;
  frameEnds_.clear();
}

void Simulator::Unplug() {
  TakenBack(line_.TakeBack());
  line_.Close();
  ++stats_.unplugs;
  DropUnsent();
  replugAt_ = Now() + options_.unplugFor;
  nextUnplug_ = kNever;
}

bool Simulator::Replug(std::string& error) { return line_.Open(options_.link, error); }

void Simulator::Wait(double until) {
  const double seconds = std::clamp(until - Now(), 0.0, kMostSleep);
  timespec timeout{};
  timeout.tv_sec = static_cast<time_t>(seconds);
  timeout.tv_nsec = static_cast<long>((seconds - std::floor(seconds)) * 1e9);
  // Room on a full line wakes a writer that waits for it.
  const short master = static_cast<short>(POLLIN | (lineFull_ ? POLLOUT : 0));
  pollfd fds[3] = {
      {signalFd_, POLLIN, 0}, {line_.Master(), master, 0}, {line_.WatchFd(), POLLIN, 0}};
  if (::ppoll(fds, 3, &timeout, nullptr) <= 0) return;
  if (fds[0].revents & POLLIN) {
    signalfd_siginfo info{};
    if (::read(signalFd_, &info, sizeof info) > 0) stop_ = true;
  }
  if (fds[1].revents & POLLIN) line_.DrainMaster();
  if (fds[2].revents & POLLIN) {
    TakenBack(line_.ReadWatch());
    // What the last reader left unread is gone, and so is the rest of the item under way.
    if (!line_.ReaderPresent()) DropUnsent();
  }
}

// Twice empty in a row, since characters reach the reader's queue a moment after the write.
bool Simulator::Drained() {
  if (!line_.IsOpen() || !line_.ReaderPresent()) return true;
  if (!unsent_.empty()) return false;
  if (line_.Unread() > 0) {
    quietChecks_ = 0;
    return false;
  }
  return ++quietChecks_ >= 2;
}

void Simulator::Finish() {
  stats_.seconds = Now();
  log_.Flush();
  line_.Close();
  if (!options_.stats.empty() && !WriteWholeFile(options_.stats, stats_.Text())) {
    std::fprintf(stderr, "indicator_sim: cannot write %s\n", options_.stats.c_str());
  }
  std::fprintf(stderr, "indicator_sim: %s\n", stats_.Summary().c_str());
}

}  // namespace tarnwell::sim
