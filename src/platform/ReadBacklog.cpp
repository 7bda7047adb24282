// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/ReadBacklog.h"

#include <algorithm>
#include <utility>

namespace tarnwell {

std::size_t ReadBacklog::FrameEnds(std::string_view chars) {
  return static_cast<std::size_t>(std::count_if(chars.begin(), chars.end(), EndsFrame));
}

bool ReadBacklog::Keep(std::string_view chars, Instant at) {
  const std::lock_guard lock(mutex_);
  if (waiting_.chars.size() + chars.size() > kMostChars || waiting_.reads.size() >= kMostReads) {
    next_ = LineRead::Follows::kLoss;
    framesDropped_ += FrameEnds(chars);
    return false;
  }
  waiting_.chars += chars;
  waiting_.reads.push_back(
      LineRead{waiting_.chars.size(), at, next_, std::exchange(framesDropped_, 0)});
  next_ = LineRead::Follows::kLine;
  return true;
}

void ReadBacklog::MarkLoss(std::size_t frames) {
  const std::lock_guard lock(mutex_);
  next_ = LineRead::Follows::kLoss;
  framesDropped_ += frames;
}

bool ReadBacklog::TellDropped(Instant at) {
  const std::lock_guard lock(mutex_);
  if (framesDropped_ == 0) return false;
  waiting_.reads.push_back(LineRead{waiting_.chars.size(), at, LineRead::Follows::kLoss,
                                    std::exchange(framesDropped_, 0)});
  return true;
}

void ReadBacklog::TakeInto(Received& into) {
  const std::lock_guard lock(mutex_);
  if (into.chars.empty() && into.reads.empty()) {
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

}  // namespace tarnwell
