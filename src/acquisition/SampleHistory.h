// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <optional>
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

  // The latest reading appended, kept through resizing and the trace fill; none before the first.
  std::optional<double> Latest() const { return latest_; }

  // The one sizing rule for every caller. The settings window accepts counts above 0 and below
  // 10000; a count read from config.ini, which is edited by hand at times, is brought to the
  // nearest of 1 and 9999, so that it never asks for gigabytes and the graph has a slot to draw.
  static bool AcceptsCount(double count) { return count > 0 && count < 10000; }
  static double CountFromFile(double count);
  // The upper index for an accepted count: at least 1, so one slot is drawn.
  static int UpperIndexFor(double count);

  // Makes the upper index `ub`, keeping the values held; new slots start at 0.
  void Resize(int ub);
  // As Resize; the slots a longer history gains, the old top among them, take the latest reading,
  // so that the trace goes on at its level instead of dropping to zero.
  void ResizeFilling(int newUb);

  // Stores `value` at SampleIndex and moves on, wrapping to 0 at `nofSamples`. The ring never
  // writes slot UB, whatever `nofSamples` holds.
  void Append(double value, double nofSamples);
  // Advances SampleIndex as Append does, without storing (a frame whose value was lost).
  void Skip(double nofSamples);

  // The trace fill: the latest reading goes to slot 0 and into every drawn slot, and writing
  // starts again at slot 0.
  void TraceFill();

 private:
  void Advance(double nofSamples);

  std::vector<double> samples_;
  int sampleIndex_ = 0;
  std::optional<double> latest_;
};

}  // namespace tarnwell
