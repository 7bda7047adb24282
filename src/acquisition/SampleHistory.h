// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <vector>

namespace tarnwell {

// The trend graph's history: a ring of readings, slots 0 to UB, of which 0 to UB - 1 are drawn.
// SampleIndex is the next slot to write; the slot before it holds the latest value.
class SampleHistory {
 public:
  SampleHistory() : samples_(1, 0.0) {}

  const std::vector<double>& Samples() const { return samples_; }
  int UB() const { return static_cast<int>(samples_.size()) - 1; }
  int SampleIndex() const { return sampleIndex_; }
  void SetSampleIndex(int index) { sampleIndex_ = index; }
  double Slot(int i) const { return samples_[static_cast<std::size_t>(i)]; }
  void SetSlot(int i, double v) { samples_[static_cast<std::size_t>(i)] = v; }

  // Makes the upper index `ub`, keeping the values held; new slots start at 0.
  // The one sizing rule for every caller. The settings window accepts counts above 0 and below
  // 10000; a count read from config.ini, which is edited by hand at times, is held within 0 and
  // 9999 so that it never asks for gigabytes or overflows.
  static bool AcceptsCount(double count) { return count > 0 && count < 10000; }
  static int UpperIndexFor(double count);

  void Resize(int ub);
  // As Resize, for a count that grows from `oldCount` to `newUb`: the new slots above the old
  // top take the value at the old top, so the trace goes on without a drop to zero.
  void ResizeFilling(int newUb, int oldCount);

  // Stores `value` at SampleIndex and moves on, wrapping to 0 at `nofSamples`. The ring never
  // writes slot UB, whatever `nofSamples` holds.
  void Append(double value, double nofSamples);
  // Advances SampleIndex as Append does, without storing (a frame whose value was lost).
  void Skip(double nofSamples);

  // The trace fill: the latest value goes to slot 0 and into every drawn slot, and writing
  // starts again at slot 0.
  void TraceFill();

 private:
  void Advance(double nofSamples);

  std::vector<double> samples_;
  int sampleIndex_ = 0;
};

}  // namespace tarnwell
