// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/win32/Win32LineReader.h"

#include <algorithm>
#include <array>
#include <string_view>

namespace tarnwell {

using Outcome = CommDevice::Outcome;

Win32LineReader::Win32LineReader(CommDevice& device, const Clock& clock, std::function<void()> wake)
    : device_(device),
      clock_(clock),
      wake_(std::move(wake)),
      stop_(::CreateEventW(nullptr, TRUE, FALSE, nullptr)),
      thread_([this] { Run(); }) {}

Win32LineReader::~Win32LineReader() {
  ::SetEvent(stop_.Get());
  thread_.join();
}

// The reader asks the driver how many characters wait and reads exactly those, so a read never
// waits for more; on a quiet line it waits for the driver's event of a character received. The
// read timeouts' "return as soon as anything came" mode is not relied on: not every driver (nor
// Wine) keeps it. While characters keep coming the thread naps between reads, so that a fast line
// costs a read per nap; what came during the nap is read at its end, never stamped before it came.
//
// The driver's error flags are asked before and after each read. Flags raised before it mean a
// gap somewhere in what waits, flags raised while it ran a gap in what it read or behind it: all
// of that goes, and the next read kept follows the loss.
void Win32LineReader::Run() {
  std::array<char, 16384> buffer;
  for (;;) {
    const std::optional<CommDevice::Status> before = device_.Check();
    if (!before) break;
    if ((before->errors & kLossErrors) != 0) {
      backlog_.MarkLoss();
      const Outcome dropped = Drop(before->waiting);
      if (dropped == Outcome::kStopped) return;
      if (dropped == Outcome::kFailed) break;
      // A line held in a break may raise its flag at every look.
      if (Nap()) return;
      continue;
    }
    if (before->waiting == 0) {
      const Outcome woken = device_.WaitForChars(stop_.Get(), kQuietMs);
      if (woken == Outcome::kStopped) return;
      // A device that cannot be waited on is looked at after a nap, not in a spin.
      if (woken == Outcome::kFailed && Nap()) return;
      continue;
    }
    std::size_t got = 0;
    const Outcome read =
        device_.Read(buffer.data(), std::min(before->waiting, buffer.size()), got, stop_.Get());
    if (read == Outcome::kStopped) return;
    if (read == Outcome::kFailed) break;
    const Instant at = clock_.Now();
    const std::optional<CommDevice::Status> after = device_.Check();
    if (after && (after->errors & kLossErrors) != 0) {
      backlog_.MarkLoss(ReadBacklog::FrameEnds({buffer.data(), got}));
      const Outcome dropped = Drop(after->waiting);
      if (dropped == Outcome::kStopped) return;
      if (dropped == Outcome::kFailed) break;
    } else if (got > 0 && backlog_.Keep(std::string_view(buffer.data(), got), at)) {
      wake_();
    }
    // What was read before the device went is kept; the reading ends with it.
    if (!after) break;
    if (Nap()) return;
  }
  // Frames dropped just before the end are told all the same.
  backlog_.TellDropped(clock_.Now());
  lost_ = true;
  wake_();
}

Outcome Win32LineReader::Drop(std::size_t count) {
  std::array<char, 16384> buffer;
  std::size_t frames = 0;
  Outcome outcome = Outcome::kDone;
  while (count > 0) {
    std::size_t got = 0;
    outcome = device_.Read(buffer.data(), std::min(count, buffer.size()), got, stop_.Get());
    if (outcome != Outcome::kDone || got == 0) break;
    frames += ReadBacklog::FrameEnds({buffer.data(), got});
    count -= std::min(count, got);
  }
  // The frames that ended in what went are told with the next read kept.
  backlog_.MarkLoss(frames);
  return outcome;
}

bool Win32LineReader::Nap() const {
  return ::WaitForSingleObject(stop_.Get(), kNapMs) == WAIT_OBJECT_0;
}

}  // namespace tarnwell
