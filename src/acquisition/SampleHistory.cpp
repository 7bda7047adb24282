// SPDX-License-Identifier: GPL-3.0-or-later
#include "acquisition/SampleHistory.h"

#include <algorithm>
#include <cmath>

#include "config/NumberText.h"

namespace tarnwell {

void SampleHistory::Resize(int ub) {
  samples_.resize(static_cast<std::size_t>(std::max(ub, 0)) + 1, 0.0);
}

void SampleHistory::ResizeFilling(int newUb) {
  const std::size_t oldTop = samples_.size() - 1;
  Resize(newUb);
  if (!latest_ || samples_.size() <= oldTop + 1) return;
  for (std::size_t i = oldTop; i < samples_.size(); ++i) samples_[i] = *latest_;
}

void SampleHistory::Append(double value, double nofSamples) {
  if (sampleIndex_ >= 0 && sampleIndex_ < UB()) {
    samples_[static_cast<std::size_t>(sampleIndex_)] = value;
  }
  latest_ = value;
  Advance(nofSamples);
}

double SampleHistory::CountFromFile(double count) {
  return std::isnan(count) ? 1 : std::clamp(count, 1.0, 9999.0);
}

int SampleHistory::UpperIndexFor(double count) {
  return static_cast<int>(RoundHalfEven(CountFromFile(count)));
}

void SampleHistory::Skip(double nofSamples) { Advance(nofSamples); }

void SampleHistory::Advance(double nofSamples) {
  ++sampleIndex_;
  if (sampleIndex_ >= nofSamples || sampleIndex_ >= std::max(UB(), 1) || sampleIndex_ < 0) {
    sampleIndex_ = 0;
  }
}

void SampleHistory::TraceFill() {
  if (latest_) {
    samples_[0] = *latest_;
  } else if (sampleIndex_ > 0 && sampleIndex_ <= UB()) {
    samples_[0] = samples_[static_cast<std::size_t>(sampleIndex_ - 1)];
  }
  sampleIndex_ = 0;
  for (int i = 1; i < UB(); ++i) samples_[static_cast<std::size_t>(i)] = samples_[0];
}

}  // namespace tarnwell
