// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <optional>
#include <string>

#include "platform/DateTime.h"

namespace tarnwell {

// The receive side of the serial link: the link writes it, the display reads its rate.
struct ReceiveState {
  // Characters received and not yet consumed by a complete frame (bounded, see SerialLink).
  std::string RxBuffer;
  double FrameCount = 0;
  // FrameCount as it stood at the last roll-over; nothing before the first.
  std::optional<double> FramesPerSecond;
  // Local date and time of the last roll-over as regional text, and its instant.
  std::string SecondStamp;
  Instant SecondStampTime;
  // True until the first complete frame has been handled.
  bool AwaitingFirstFrame = true;
};

}  // namespace tarnwell
