// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <string>

#include "Golden.h"
#include "acquisition/TracePlot.h"

namespace tarnwell {
namespace {

using testing::DumpDrawList;
using testing::MatchesGolden;

// Each test plots one or more ticks and compares the three pictures, whole, with
// golden/TracePlot.<test>.txt.
class TracePlotTest : public ::testing::Test {
 protected:
  TracePlotTest() {
    graph.SetSizes(6615, 3975, 6615, 3975);
    xaxis.SetSizes(6925, 135, 6925, 135);
    config.LineColor = Rgb{0, 200, 0};
    config.FontColor = Rgb{200, 0, 0};
    config.Expanded = 0;
    history.Resize(100);
  }

  void Fixed(double min, double max) {
    config.GraphMin = Value::Double(min);
    config.GraphMax = max;
  }
  // 0, 1, 2, ... 99 with the latest sample in slot 36.
  void Ramp() {
    for (int i = 0; i < 100; ++i) history.SetSlot(i, i);
    history.SetSampleIndex(37);
  }
  void Plot(const std::string& heading) {
    const GraphRange range = ComputeRange(history, config, regional);
    TracePlot::Draw(
        PlotInputs{
            history, config, format, regional, range, range.Max - range.Min, mouseX, mouseY, {}},
        graph, xaxis, testPic);
    Dump(heading);
  }
  void Dump(const std::string& heading) {
    dump += "# " + heading + "\n## graph\n" + DumpDrawList(graph) + "## xaxis\n" +
            DumpDrawList(xaxis) + "## testPic\n" + DumpDrawList(testPic);
  }
  void TearDown() override {
    const std::string name = ::testing::UnitTest::GetInstance()->current_test_info()->name();
    EXPECT_TRUE(MatchesGolden("acquisition/golden/TracePlot." + name + ".txt", dump));
  }

  Regional regional;
  AppConfig config;
  SampleHistory history;
  std::string format = "#0.0";
  double mouseX = 0, mouseY = -380;
  DrawList graph, xaxis, testPic;
  std::string dump;
};

// A flat trace is widened by one last decimal (4.9..5.1) and runs along the middle.
TEST_F(TracePlotTest, FlatTraceIsWidenedByOneLastDecimalAndRunsAlongTheMiddle) {
  config.Expanded = 1;
  for (int i = 0; i <= 100; ++i) history.SetSlot(i, 5.0);
  Plot("flat 5.0, automatic range");
}

TEST_F(TracePlotTest, MiddleLabelGainsADecimalWhenTheSpanIsAnOddCount) {
  struct Case {
    std::string format;
    double min, max;
  } cases[] = {
      {"#0.0", 9.7, 10.0},  // 0.3 x 10 rounds to 3
      {"#0", 1, 4},
      {"#0", 1, 5},
  };
  for (const Case& c : cases) {
    format = c.format;
    Fixed(c.min, c.max);
    Plot(c.format + " " + testing::GoldenNumber(c.min) + ".." + testing::GoldenNumber(c.max));
  }
}

// Scrolling puts the oldest slot (37) at the left and the latest (36) at the right edge; sweeping
// draws slot i at position i, the marker at the latest value, and levels the segment after it.
TEST_F(TracePlotTest, ScrollingAndSweepingPlaceTheSlotsAndTheMarker) {
  Fixed(0, 100);
  Ramp();
  Plot("scrolling, latest in slot 36");
  config.LineMode = 1;
  Plot("sweeping, latest in slot 36");
  history.SetSampleIndex(0);
  Plot("sweeping, marker at the left edge");
}

// Fixed bounds let 150 and -50 leave the picture; automatic range keeps the lowest value 10
// above the bottom; an inner area taller than the outer one stops heights at the outer height.
TEST_F(TracePlotTest, HeightsAreLimitedOnlyWithAutomaticRange) {
  Fixed(0, 100);
  history.SetSlot(10, 150);
  history.SetSlot(11, -50);
  Plot("fixed 0..100");
  config.Expanded = 1;
  Plot("automatic");
  graph.SetSizes(6615, 4000, 6615, 3975);
  Plot("automatic, inner height 4000");
}

TEST_F(TracePlotTest, SingleSlotHistoryDrawsEverythingAtTheLeftEdge) {
  history.Resize(1);
  history.SetSlot(0, 7);
  mouseX = 3000;
  config.MouseEvent = 1;
  Plot("one slot, pointer at 3000");
}

// The read-out stays inside the graph; beyond the right edge scrolling still wraps into the ring
// (slot (148 + 37) mod 100, "y:85.0"), sweeping has no slot 148 to show; 49.5 rounds to even.
TEST_F(TracePlotTest, MouseReadOutStaysInsideTheGraphAndNamesTheSlot) {
  Fixed(0, 100);
  config.MouseEvent = 1;
  Ramp();
  mouseX = 6615, mouseY = -200;
  Plot("pointer at the right edge, above the top");
  mouseX = 0, mouseY = 500;
  Plot("pointer at the left edge");
  mouseX = 6615 * 1.5;
  Plot("pointer beyond the right edge");
  config.LineMode = 1;
  Plot("sweeping, pointer beyond the right edge");
  mouseX = 6615 / 2.0;
  Plot("sweeping, pointer in the middle");
}

TEST_F(TracePlotTest, SampleAxisCountsSamplesRoundingHalvesAway) {
  history.Resize(98);
  Plot("98 slots, scrolling");
  config.LineMode = 1;
  Plot("98 slots, sweeping");
}

// One picture, not two: the second tick clears the first; the grid comes right after the clear
// and its pen width does not reach the trace.
TEST_F(TracePlotTest, EachTickStartsFromAClearedPictureWithTheGridBelowTheTrace) {
  config.BackRed = 1, config.BackGreen = 2, config.BackBlue = 3;
  int grids = 0;
  auto grid = [&] {
    ++grids;
    graph.Line(0, 0, 1, 1, DrawColor{9, 9, 9});
    graph.SetPenWidth(2);
  };
  for (int tick = 0; tick < 2; ++tick) {
    TracePlot::Draw(PlotInputs{history, config, format, regional, {100, 0}, 100, 0, -380, grid},
                    graph, xaxis, testPic);
  }
  EXPECT_EQ(grids, 2);
  Dump("two ticks with a grid");
}

}  // namespace
}  // namespace tarnwell
