// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <string>

namespace tarnwell {

// What the frame handler leaves for the display and the record writer.
struct FrameState {
  // Number-format pattern of the latest frame; empty (general format) until the first frame.
  std::string ValueFormat;
  // Value of the latest frame, set only while a recording runs.
  double CurrentValue = 0;
  // Readings stored in CurrentValue so far: the record writer writes nothing before one has come
  // since the start of its recording.
  std::uint64_t Readings = 0;
};

}  // namespace tarnwell
