// SPDX-License-Identifier: GPL-3.0-or-later
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "acquisition/SampleHistory.h"

namespace tarnwell::testing {
namespace {

using ::testing::ElementsAre;

TEST(SampleHistory, RingWrapsAtNofSamplesAndNeverWritesTheTopSlot) {
  SampleHistory h;
  h.Resize(4);
  for (double v : {1, 2, 3, 4}) h.Append(v, 4);
  EXPECT_THAT(h.Samples(), ElementsAre(1, 2, 3, 4, 0));
  EXPECT_EQ(h.SampleIndex(), 0);
  h.Append(5, 4);
  EXPECT_THAT(h.Samples(), ElementsAre(5, 2, 3, 4, 0));
  EXPECT_EQ(h.SampleIndex(), 1);

  // A count above the ring's size still stops below the top slot.
  SampleHistory big;
  big.Resize(3);
  for (double v : {1, 2, 3, 4, 5}) big.Append(v, 100);
  EXPECT_THAT(big.Samples(), ElementsAre(4, 5, 3, 0));
  EXPECT_EQ(big.SampleIndex(), 2);

  // A smaller count wraps early; a lost value still moves the write position on.
  SampleHistory small;
  small.Resize(5);
  small.Append(1, 3);
  small.Skip(3);
  small.Append(3, 3);
  EXPECT_EQ(small.SampleIndex(), 0);
  small.Append(4, 3);
  EXPECT_THAT(small.Samples(), ElementsAre(4, 0, 3, 0, 0, 0));
}

TEST(SampleHistory, TraceFillSpreadsTheLatestValueAndRestartsAtSlotZero) {
  SampleHistory h;
  h.Resize(5);
  h.SetSlot(5, 99);
  for (double v : {1, 2, 3}) h.Append(v, 5);
  h.TraceFill();
  EXPECT_THAT(h.Samples(), ElementsAre(3, 3, 3, 3, 3, 99));
  EXPECT_EQ(h.SampleIndex(), 0);
  h.Append(8, 5);
  EXPECT_THAT(h.Samples(), ElementsAre(8, 3, 3, 3, 3, 99));

  // With SampleIndex 0 there is no latest value to move: slot 0 is spread as it stands.
  h.SetSampleIndex(0);
  h.SetSlot(0, 6);
  h.TraceFill();
  EXPECT_THAT(h.Samples(), ElementsAre(6, 6, 6, 6, 6, 99));
}

TEST(SampleHistory, ResizeKeepsTheValuesHeld) {
  SampleHistory h;
  h.Resize(50);
  for (int i = 0; i < 50; ++i) h.Append(i + 1, 100);
  h.Resize(100);
  EXPECT_EQ(h.UB(), 100);
  EXPECT_EQ(h.Slot(49), 50);
  EXPECT_EQ(h.Slot(100), 0);
  EXPECT_EQ(h.SampleIndex(), 0);

  h.Resize(10);
  EXPECT_THAT(h.Samples(), ElementsAre(1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11));

  // Growing for a new count: the slots above the old top take its value.
  h.ResizeFilling(14, 10);
  EXPECT_THAT(h.Samples(), ElementsAre(1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 11, 11, 11, 11));
  h.ResizeFilling(16, -1);
  EXPECT_EQ(h.Slot(15), 0);
  h.Resize(-3);
  EXPECT_EQ(h.UB(), 0);
}

}  // namespace
}  // namespace tarnwell::testing
