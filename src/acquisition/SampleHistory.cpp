// SPDX-License-Identifier: GPL-3.0-or-later
#include "acquisition/SampleHistory.h"

#include <algorithm>
#include <cmath>

#include "config/NumberText.h"

namespace tarnwell {

void SampleHistory::Resize(int ub) {
  samples_.resize(static_cast<std::size_t>(std::max(ub, 0)) + 1, 0.0);
}

void SampleHistory::ResizeFilling(int newUb, int oldCount) {
  Resize(newUb);
  if (oldCount < 0 || oldCount > UB()) return;
  const double top = samples_[static_cast<std::size_t>(oldCount)];
  for (int i = oldCount + 1; i <= UB(); ++i) samples_[static_cast<std::size_t>(i)] = top;
}

void SampleHistory::Append(double value, double nofSamples) {
  if (sampleIndex_ >= 0 && sampleIndex_ < UB())
    samples_[static_cast<std::size_t>(sampleIndex_)] = value;
  else if (UB() == 0 && sampleIndex_ == 0)
    samples_[0] = value;
  Advance(nofSamples);
}

int SampleHistory::UpperIndexFor(double count) {
  if (!std::isfinite(count)) return 0;
  return static_cast<int>(RoundHalfEven(std::clamp(count, 0.0, 9999.0)));
}

void SampleHistory::Skip(double nofSamples) { Advance(nofSamples); }

void SampleHistory::Advance(double nofSamples) {
  ++sampleIndex_;
  if (sampleIndex_ >= nofSamples || sampleIndex_ >= std::max(UB(), 1) || sampleIndex_ < 0) {
    sampleIndex_ = 0;
  }
}

void SampleHistory::TraceFill() {
  if (sampleIndex_ > 0 && sampleIndex_ <= UB()) {
    samples_[0] = samples_[static_cast<std::size_t>(sampleIndex_ - 1)];
  }
  sampleIndex_ = 0;
  for (int i = 1; i < UB(); ++i) samples_[static_cast<std::size_t>(i)] = samples_[0];
}

}  // namespace tarnwell
