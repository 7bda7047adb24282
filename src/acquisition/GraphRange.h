// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "acquisition/SampleHistory.h"
#include "config/AppConfig.h"

namespace tarnwell {

// The value range shown by the graph in one tick: top (Max) and bottom (Min).
struct GraphRange {
  double Max = 0;
  double Min = 0;
};

// The spread of the drawn slots 0 to UB - 1, unwritten slots included.
GraphRange SampleExtent(const SampleHistory& history);

// With automatic range (Expanded 1) the spread of slots 0 to UB - 1, unwritten slots included;
// otherwise GraphMax and GraphMin.
GraphRange ComputeRange(const SampleHistory& history, const AppConfig& config,
                        const Regional& regional);

}  // namespace tarnwell
