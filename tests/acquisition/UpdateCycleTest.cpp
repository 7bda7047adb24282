// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <limits>

#include "FakeTimer.h"
#include "FakeViews.h"
#include "ReceiveRig.h"
#include "acquisition/UpdateCycle.h"

namespace tarnwell::testing {
namespace {

// The display's tick behind the receive path.
class UpdateCycleTest : public ::testing::Test, public FakeReceiveRig {
 protected:
  FakeLiveView view;
  FakeTimer timer1;
  UpdateCycle cycle{config, state,
                    frame,  history,
                    view,   [this](const GraphRange& r, double s) { view.DrawGraph(r, s); },
                    timer1, regional};
};

TEST_F(UpdateCycleTest, RefreshRateFollowsThePerformanceLevel) {
  const std::pair<Value, int> cases[] = {
      {0, 333}, {1, 100}, {2, 50}, {3, 100}, {Value::Text("2"), 50}, {Value::Text("fast"), 100}};
  for (const auto& [performance, interval] : cases) {
    config.Performance = performance;
    cycle.SetRefreshRate();
    EXPECT_EQ(timer1.interval, interval) << performance.ToText(regional);
  }
}

TEST_F(UpdateCycleTest, ValueDarkensOnTheThirtySecondTickWithoutData) {
  // Start-up: nothing has arrived yet.
  cycle.Timer1_Timer();
  EXPECT_EQ(view.color, kStaleColor);
  EXPECT_FALSE(view.visible);
  EXPECT_EQ(view.current, "0");

  // A frame has just been handled.
  history.Append(12.5, 100);
  frame.ValueFormat = "#0.00";
  state.DataAlive = true;
  state.SilentTicks = 0;
  for (int tick = 1; tick <= 31; ++tick) {
    cycle.Timer1_Timer();
    ASSERT_EQ(view.color, kAliveColor) << tick;
  }
  EXPECT_TRUE(view.visible);
  cycle.Timer1_Timer();
  EXPECT_EQ(view.color, (Rgb{128, 64, 0}));
  EXPECT_EQ(view.current, "12.50");
  EXPECT_FALSE(state.DataAlive);
  cycle.Timer1_Timer();
  EXPECT_EQ(state.SilentTicks, 31);
}

TEST_F(UpdateCycleTest, ValueShownIsTheLatestSampleOrTheRecordedValue) {
  history.Resize(2);
  frame.ValueFormat = "#0";
  history.Append(5, 2);
  cycle.Timer1_Timer();
  EXPECT_EQ(view.current, "5");
  // Just wrapped: the caption stays until the next value is appended.
  history.Append(6, 2);
  cycle.Timer1_Timer();
  EXPECT_EQ(view.current, "5");
  history.Append(7.5, 2);
  regional.decimal = ',';
  frame.ValueFormat = "#0.00";
  cycle.Timer1_Timer();
  EXPECT_EQ(view.current, "7,50");

  // A value that cannot be shown leaves the caption.
  history.SetSlot(0, std::numeric_limits<double>::infinity());
  cycle.Timer1_Timer();
  EXPECT_EQ(view.current, "7,50");

  // Before the first frame the general format applies; during a recording CurrentValue shows.
  frame.ValueFormat.clear();
  bool recording = true;
  cycle.SetRecording([&] { return recording; });
  frame.CurrentValue = 3.25;
  cycle.Timer1_Timer();
  EXPECT_EQ(view.current, "3,25");
  frame.ValueFormat = "#0.0";
  history.SetSampleIndex(0);
  cycle.Timer1_Timer();
  EXPECT_EQ(view.current, "3,3");
  EXPECT_EQ(view.draws, 6);
}

TEST_F(UpdateCycleTest, LabelsBelowTheGraphShowRateAndHalfTheSpan) {
  config.Expanded = 0;
  config.GraphMin = Value::Text("-250");  // the range is of the settings, not of the history
  config.GraphMax = 750;
  frame.ValueFormat = "#0.0";
  cycle.Timer1_Timer();
  EXPECT_EQ(view.nofDat, "/s");
  EXPECT_EQ(view.rangeTop, 4275);
  EXPECT_EQ(view.logoTop, 4925);
  EXPECT_EQ(view.rangeCaption, "+/- 500.0");
  EXPECT_EQ(view.range.Min, -250);
  EXPECT_EQ(view.span, 1000);

  state.FramesPerSecond = 25;
  view.graphOuterHeight = 1000;
  config.Expanded = Value::Text("1");
  history.Resize(4);
  for (double v : {10.0, 14.5, 12.0, 11.0}) history.Append(v, 4);
  history.SetSlot(4, 99);  // the top slot is not drawn and not in the range
  cycle.Timer1_Timer();
  EXPECT_EQ(view.nofDat, "25/s");
  EXPECT_EQ(view.rangeTop, 1300);
  EXPECT_EQ(view.range.Max, 14.5);
  EXPECT_EQ(view.range.Min, 10);
  EXPECT_EQ(view.rangeCaption, "+/- 2.3");
}

}  // namespace
}  // namespace tarnwell::testing
