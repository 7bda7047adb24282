// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <limits>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include "FakeTimer.h"
#include "Golden.h"
#include "ReceiveRig.h"
#include "acquisition/NumberFormat.h"
#include "app/DisplayPresenter.h"

namespace tarnwell::testing {
namespace {

// The labels below the graph and the reading, keeping what they were told, and the graph drawn.
struct FakeLiveView : LiveLabels {
  void SetCurrentColor(Rgb c) override { color = c; }
  void SetCurrentVisible(bool v) override { visible = v; }
  void SetCurrentCaption(const std::string& c) override { current = c; }
  double GraphOuterHeight() const override { return graphOuterHeight; }
  void SetRangeOfChangeTop(double t) override { rangeTop = t; }
  void SetRangeOfChangeCaption(const std::string& c) override { rangeCaption = c; }
  void SetLabNofDat(const std::string& c, double t) override { nofDat = c, nofDatTop = t; }
  void SetLogoTop(double t) override { logoTop = t; }

  Rgb color;
  bool visible = false;
  std::string current = "0", rangeCaption, nofDat;
  double graphOuterHeight = 3975, rangeTop = 0, nofDatTop = 0, logoTop = 0, span = 0;
  GraphRange range;
};

// The display's tick behind the receive path.
class DisplayPresenterTest : public ::testing::Test, public FakeReceiveRig {
 protected:
  std::string Shown() { return cycle.OnRefreshTick(), view.current; }

  FakeLiveView view;
  FakeTimer refreshTimer;
  DrawGraphFn draw = [this](const GraphRange& r, double s) { view.range = r, view.span = s; };
  FakeTimer presenterTimer;
  DisplayPresenter cycle{config, state, route, history, view, draw, presenterTimer, regional};
};

// Each performance level refreshes the display at its own pace: Low 333 ms, Mid 100, High 50;
// Ultra and a level that is not a number refresh as Mid.
TEST_F(DisplayPresenterTest, EachPerformanceLevelRefreshesAtItsOwnInterval) {
  std::vector<std::pair<std::string, int>> paced;
  for (const char* level : {"0", "1", "2", "3", "fast"}) {
    config.Performance = Value::Text(level);
    cycle.SetRefreshRate();
    paced.emplace_back(level, presenterTimer.interval);
  }
  EXPECT_EQ(paced, (std::vector<std::pair<std::string, int>>{
                       {"0", 333}, {"1", 100}, {"2", 50}, {"3", 100}, {"fast", 100}}));
}

// The reading darkens on the 32nd tick without a reading; a frame without one ("OL") does not
// brighten it. It shows the latest sample, or during a recording the recording's current value;
// one that cannot be shown leaves it.
TEST_F(DisplayPresenterTest, ReadingShowsTheLatestValueAndDarkensOnTheThirtySecondTickWithoutData) {
  regional.decimal = ',';
  port.Receive("7.50\r");
  int alive = 0;
  for (int tick = 1; tick <= 33; ++tick) alive += Shown() == "7,50" && view.color == kAliveColor;
  EXPECT_EQ(std::tuple(alive, view.color, view.visible), std::tuple(31, kStaleColor, true));
  port.Receive("OL\r");
  EXPECT_EQ(std::tuple(Shown(), view.color), std::tuple("7,50", kStaleColor));
  history.SetSlot(0, std::numeric_limits<double>::infinity());
  EXPECT_EQ(Shown(), "7,50");
  RecordEveryFrame();
  port.Receive("3.25\r");
  EXPECT_EQ(std::tuple(Shown(), view.color), std::tuple("3,25", kAliveColor));
}

// The labels below the graph show the rate and half the span of the range set or drawn.
TEST_F(DisplayPresenterTest, LabelsBelowTheGraphShowRateAndHalfTheSpan) {
  const auto labels = [&] {
    cycle.OnRefreshTick();
    return std::tuple(view.nofDat, view.nofDatTop, view.rangeTop, view.logoTop, view.rangeCaption,
                      view.range.Min, view.range.Max, view.span);
  };
  config.Expanded = 0, config.GraphMin = Value::Text("-250"), config.GraphMax = 750;
  history.Resize(4);
  port.Receive("10.0\r14.5\r12.0\r11.0\r");
  history.SetSlot(4, 99);  // the top slot is not drawn
  EXPECT_EQ(labels(), std::tuple("/s", 4475, 4275, 4925, "+/- 500.0", -250, 750, 1000));
  clock.Advance(1000), port.Receive(" ");  // the next second: its rate is the four frames
  view.graphOuterHeight = 1000, config.Expanded = Value::Text("1");
  EXPECT_EQ(labels(), std::tuple("4/s", 1500, 1300, 1950, "+/- 2.3", 10, 14.5, 4.5));
}

TEST(FormatNumber, RoundsHalfAwayFromZeroWithTheRegionalSeparator) {
  EXPECT_TRUE(MatchesScript("app/golden/numbers.txt", [](const std::string& row) {
    const std::string pattern = row.substr(row.find('"') + 1, row.rfind('"') - row.find('"') - 1);
    return FormatNumber(std::strtod(row.c_str(), nullptr), pattern, Regional{',', '.'})
        .value_or("none");
  }));
}

}  // namespace
}  // namespace tarnwell::testing
