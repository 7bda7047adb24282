// SPDX-License-Identifier: GPL-3.0-or-later
#include "acquisition/GraphRange.h"

namespace tarnwell {

GraphRange SampleExtent(const SampleHistory& history) {
  GraphRange r;
  r.Max = -9999999999.0;
  r.Min = 9999999999.0;
  const auto& s = history.Samples();
  for (int i = 0; i < history.UB(); ++i) {
    const double v = s[static_cast<std::size_t>(i)];
    if (v > r.Max) r.Max = v;
    if (v < r.Min) r.Min = v;
  }
  return r;
}

GraphRange ComputeRange(const SampleHistory& history, const AppConfig& config,
                        const Regional& regional) {
  if (config.AutomaticRange(regional)) return SampleExtent(history);
  GraphRange r;
  r.Max = config.GraphMax;
  r.Min = config.GraphMinimum(regional);
  return r;
}

}  // namespace tarnwell
