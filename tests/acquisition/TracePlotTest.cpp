// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "acquisition/TracePlot.h"
#include "platform/DrawList.h"

namespace tarnwell {
namespace {

constexpr DrawColor kTrace{0, 200, 0};
constexpr DrawColor kMarker{200, 0, 0};

struct Label {
  double x, y;
  std::string text;
  friend bool operator==(const Label&, const Label&) = default;
};

class TracePlotTest : public ::testing::Test {
 protected:
  TracePlotTest() {
    graph.SetSizes(6615, 3975, 6615, 3975);
    xaxis.SetSizes(6925, 135, 6925, 135);
    config.LineColor = Rgb{kTrace.red, kTrace.green, kTrace.blue};
    config.FontColor = Rgb{kMarker.red, kMarker.green, kMarker.blue};
    config.Expanded = 0;
    history.Resize(100);
  }

  void Fixed(double min, double max) {
    config.Expanded = 0;
    config.GraphMin = Value::Double(min);
    config.GraphMax = max;
  }
  void Plot() {
    const GraphRange range = ComputeRange(history, config, regional);
    TracePlot::Draw(
        PlotInputs{
            history, config, format, regional, range, range.Max - range.Min, mouseX, mouseY, {}},
        graph, xaxis, testPic);
  }
  std::vector<DrawOp> Lines(const DrawList& list, DrawColor color) const {
    std::vector<DrawOp> out;
    for (const DrawOp& op : list.Ops()) {
      if (op.kind == DrawOp::Kind::kLine && op.color == color) out.push_back(op);
    }
    return out;
  }
  std::vector<Label> Texts(const DrawList& list) const {
    std::vector<Label> out;
    for (const DrawOp& op : list.Ops()) {
      if (op.kind == DrawOp::Kind::kText) out.push_back({op.x1, op.y1, list.TextOf(op).text});
    }
    return out;
  }

  Regional regional;
  AppConfig config;
  SampleHistory history;
  std::string format = "#0.0";
  double mouseX = 0, mouseY = -380;
  DrawList graph, xaxis, testPic;
};

TEST_F(TracePlotTest, FlatTraceIsWidenedByOneLastDecimalAndRunsAlongTheMiddle) {
  config.Expanded = 1;
  for (int i = 0; i <= 100; ++i) history.SetSlot(i, 5.0);
  Plot();
  EXPECT_EQ(
      Texts(graph),
      (std::vector<Label>{{0, -80, "5.1"}, {0, 3975 - 275, "4.9"}, {0, 3975 / 2.0 - 160, "5.0"}}));
  const auto trace = Lines(graph, kTrace);
  ASSERT_EQ(trace.size(), 100u);
  for (const DrawOp& op : trace) {
    EXPECT_NEAR(op.y1, 3975 / 2.0, 1e-6);
    EXPECT_NEAR(op.y2, 3975 / 2.0, 1e-6);
  }
}

TEST_F(TracePlotTest, MiddleLabelGainsADecimalWhenTheSpanIsAnOddCount) {
  struct Case {
    std::string format;
    double min, max;
    std::string middle;
  } cases[] = {
      {"#0.0", 9.7, 10.0, "9.85"},  // 0.3 x 10 rounds to 3
      {"#0", 1, 4, "2.5"},
      {"#0", 1, 5, "3"},
  };
  for (const Case& c : cases) {
    format = c.format;
    Fixed(c.min, c.max);
    Plot();
    ASSERT_EQ(Texts(graph).size(), 3u);
    EXPECT_EQ(Texts(graph)[2].text, c.middle) << c.format << " " << c.min << ".." << c.max;
  }
}

TEST_F(TracePlotTest, ScrollingPutsTheOldestSlotLeftAndTheLatestAtTheRightEdge) {
  Fixed(0, 100);
  for (int i = 0; i < 100; ++i) history.SetSlot(i, i);
  history.SetSampleIndex(37);
  Plot();
  const auto trace = Lines(graph, kTrace);
  ASSERT_EQ(trace.size(), 100u);
  const double unit = 3975 / 100.0;
  EXPECT_EQ(trace.front().x2, 0);
  EXPECT_NEAR(trace.front().y2, 3975 - 37 * unit, 1e-6);
  EXPECT_NEAR(trace.back().x2, 6615, 1e-6);
  EXPECT_NEAR(trace.back().y2, 3975 - 36 * unit, 1e-6);
  for (std::size_t i = 1; i < trace.size(); ++i) {
    EXPECT_EQ(trace[i].x1, trace[i - 1].x2);
    EXPECT_EQ(trace[i].y1, trace[i - 1].y2);
  }
  EXPECT_TRUE(Lines(graph, kMarker).empty());
}

TEST_F(TracePlotTest, SweepingDrawsTheMarkerAtTheLatestValueAndLevelsTheNextSegment) {
  Fixed(0, 100);
  config.LineMode = 1;
  for (int i = 0; i < 100; ++i) history.SetSlot(i, i);
  history.SetSampleIndex(37);
  Plot();
  const double x36 = 36 * 6615 / 99.0;
  const auto marker = Lines(graph, kMarker);
  ASSERT_EQ(marker.size(), 1u);
  EXPECT_DOUBLE_EQ(marker[0].x2, x36);
  EXPECT_EQ(marker[0].y2, 3975);
  const auto trace = Lines(graph, kTrace);
  ASSERT_EQ(trace.size(), 100u);
  const DrawOp& into37 = trace[37];
  EXPECT_DOUBLE_EQ(into37.x1, x36);
  EXPECT_NEAR(into37.y1, 3975 - 37 * 39.75, 1e-6);
  EXPECT_NEAR(into37.y2, into37.y1, 1e-6);
  EXPECT_NEAR(trace[36].y2, 3975 - 36 * 39.75, 1e-6) << "slot 36 is drawn at position 36";

  history.SetSampleIndex(0);
  Plot();
  ASSERT_EQ(Lines(graph, kMarker).size(), 1u);
  EXPECT_EQ(Lines(graph, kMarker)[0].x1, 0);
}

TEST_F(TracePlotTest, HeightsAreLimitedOnlyWithAutomaticRange) {
  Fixed(0, 100);
  history.SetSlot(10, 150);
  history.SetSlot(11, -50);
  Plot();
  auto trace = Lines(graph, kTrace);
  EXPECT_NEAR(trace[10].y2, 3975 - 1.5 * 3975, 1e-6) << "above the top, not clamped";
  EXPECT_NEAR(trace[11].y2, 3975 + 0.5 * 3975, 1e-6);

  config.Expanded = 1;
  Plot();
  trace = Lines(graph, kTrace);
  EXPECT_NEAR(trace[10].y2, 0, 1e-6);
  EXPECT_NEAR(trace[11].y2, 3975 - 10, 1e-6) << "the lowest value stays 10 above the bottom";
  EXPECT_NEAR(trace[0].y1, 3975 - 50 * 3975 / 200.0, 1e-6);

  // An inner area taller than the outer one: heights stop at the outer height.
  graph.SetSizes(6615, 4000, 6615, 3975);
  Plot();
  trace = Lines(graph, kTrace);
  EXPECT_NEAR(trace[10].y2, 4000 - 3975, 1e-6);
}

TEST_F(TracePlotTest, SingleSlotHistoryDrawsEverythingAtTheLeftEdge) {
  history.Resize(1);
  history.SetSlot(0, 7);
  mouseX = 3000;
  config.MouseEvent = 1;
  Plot();
  for (const DrawOp& op : graph.Ops()) {
    EXPECT_TRUE(std::isfinite(op.x1) && std::isfinite(op.y1) && std::isfinite(op.x2) &&
                std::isfinite(op.y2));
  }
  ASSERT_EQ(Lines(graph, kTrace).size(), 1u);
  EXPECT_EQ(Lines(graph, kTrace)[0].x2, 0);
  EXPECT_EQ(Lines(graph, kMarker).at(0).x1, 0);
}

TEST_F(TracePlotTest, MouseReadOutStaysInsideTheGraphAndNamesTheSlot) {
  Fixed(0, 100);
  config.MouseEvent = 1;
  for (int i = 0; i < 100; ++i) history.SetSlot(i, i);
  history.SetSampleIndex(37);
  mouseX = 6615;
  mouseY = -200;
  Plot();
  ASSERT_EQ(Lines(graph, kMarker).size(), 1u);
  EXPECT_EQ(Lines(graph, kMarker)[0].x1, 6615 - 10);
  auto texts = Texts(graph);
  ASSERT_EQ(texts.size(), 5u);
  EXPECT_EQ(texts[3], (Label{6615 - 1225, 200, "y:36.0"})) << "the latest value is right";
  EXPECT_EQ(texts[4], (Label{6615 - 1225, 0, "x:2"}));

  mouseX = 0;
  mouseY = 500;
  Plot();
  texts = Texts(graph);
  EXPECT_EQ(texts[3], (Label{75, 700, "y:37.0"}));
  EXPECT_EQ(texts[4], (Label{75, 500, "x:101"}));

  // Dragged beyond the right edge, scrolling still wraps into the ring: slot (148 + 37) mod 100.
  mouseX = 6615 * 1.5;
  Plot();
  texts = Texts(graph);
  ASSERT_EQ(texts.size(), 5u);
  EXPECT_EQ(texts[3].text, "y:85.0");
  EXPECT_EQ(texts[4].text, "x:-47");

  config.LineMode = 1;
  Plot();
  EXPECT_EQ(Texts(graph).back().text, "x:149") << "no slot 148 to show while sweeping";
  mouseX = 6615 / 2.0;
  Plot();
  texts = Texts(graph);
  EXPECT_EQ(texts[3].text, "y:50.0");  // 49.5 rounds to the even 50
  EXPECT_EQ(texts[4].text, "x:51");
}

TEST_F(TracePlotTest, SampleAxisCountsSamplesRoundingHalvesAway) {
  history.Resize(98);
  Plot();
  const auto labels = Texts(xaxis);
  ASSERT_EQ(labels.size(), 5u);
  const std::vector<std::string> scrolling = {"98", "74", "49", "25", "0"};
  for (int j = 0; j < 5; ++j) {
    EXPECT_EQ(labels[j].text, scrolling[j]) << j;
    EXPECT_DOUBLE_EQ(labels[j].x, 10 + 6925 * j / 4.0);
    EXPECT_EQ(labels[j].y, -20);
  }

  config.LineMode = 1;
  Plot();
  std::vector<std::string> sweeping;
  for (const Label& l : Texts(xaxis)) sweeping.push_back(l.text);
  EXPECT_EQ(sweeping, (std::vector<std::string>{"0", "25", "49", "74", "98"}));
}

TEST_F(TracePlotTest, EachTickStartsFromAClearedPictureWithTheGridBelowTheTrace) {
  config.BackRed = 1;
  config.BackGreen = 2;
  config.BackBlue = 3;
  int grids = 0;
  const GraphRange range{100, 0};
  auto grid = [&] {
    ++grids;
    graph.Line(0, 0, 1, 1, DrawColor{9, 9, 9});
    graph.SetPenWidth(2);
  };
  for (int tick = 0; tick < 2; ++tick) {
    TracePlot::Draw(PlotInputs{history, config, format, regional, range, 100, 0, -380, grid}, graph,
                    xaxis, testPic);
  }
  EXPECT_EQ(grids, 2);
  ASSERT_GE(graph.Ops().size(), 3u);
  EXPECT_EQ(graph.Ops()[0].kind, DrawOp::Kind::kClear);
  EXPECT_EQ(graph.Ops()[0].color, (DrawColor{1, 2, 3}));
  EXPECT_EQ(graph.Ops()[1].color, (DrawColor{9, 9, 9}));
  EXPECT_EQ(graph.Ops().size(), 1 + 1 + 100 + 3u) << "one picture, not two";
  EXPECT_EQ(Lines(graph, kTrace).front().penWidth, 1);
  ASSERT_EQ(testPic.Ops().size(), 1u);
}

}  // namespace
}  // namespace tarnwell
