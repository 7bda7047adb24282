// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <tuple>

#include "Golden.h"
#include "graph/GraphView.h"
#include "platform/DrawList.h"

namespace tarnwell {
namespace {

class GraphViewTest : public ::testing::Test {
 protected:
  GraphViewTest() { graph.SetSizes(6555, 3915, 6615, 3975); }

  // The range as {min, max}.
  std::vector<double> Range() const {
    return {config.GraphMin.NumberOr(regional, -12345), config.GraphMax};
  }
  // A zoom click on the range min..max with the pointer last seen at `y` (the click's own place
  // does not count).
  std::vector<double> ClickAt(double min, double max, double y, int button) {
    config.GraphMin = Value::Double(min);
    config.GraphMax = max;
    view.Graph_MouseMove(100, y);
    view.Graph_MouseDown(button);
    return Range();
  }

  Regional regional;
  AppConfig config;
  SampleHistory history;
  DrawList graph;
  GraphView view{config, history, graph, regional};
};

// The pointer is lifted by 380: with outer height 3975 the sides meet at 1987.5 + 380.
TEST_F(GraphViewTest, ZoomClicksHalveOrExtendTheRangeOnTheSideClicked) {
  EXPECT_EQ(view.GraphMouseY(), -380);
  view.CmdZoomIn_MouseDown(1);
  const double upper = 500, lower = 3000;
  // min, max, pointer y, button, wanted range.
  const std::tuple<double, double, double, int, std::vector<double>> cases[] = {
      {0, 1000, upper, 1, {500, 1000}}, {0, 1000, lower, 1, {0, 500}},
      {0, 1000, upper, 2, {0, 1500}},   {0, 1000, lower, 2, {-500, 1000}},
      {5, 5, upper, 2, {5, 6.5}},       {5, 5, lower, 2, {5, 5}},
      {0, 1000, upper, 4, {0, 1000}},   {0, 1000, 2367, 1, {500, 1000}},
      {0, 1000, 2367.5, 1, {0, 500}},
  };
  for (const auto& [min, max, y, button, want] : cases) {
    EXPECT_EQ(ClickAt(min, max, y, button), want)
        << min << ".." << max << " y " << y << " b " << button;
  }
  EXPECT_EQ(view.GraphMouseX(), 100);
  EXPECT_EQ(view.GraphMouseY(), 1987.5);

  // Zooming into the lower half leaves a bound read from config.ini as it was written.
  config.GraphMin = Value::Text("0");
  config.GraphMax = 1000;
  view.Graph_MouseDown(1);
  EXPECT_TRUE(config.GraphMin.IsText());
  EXPECT_EQ(config.GraphMax, 500);

  view.CmdZoomIn_MouseDown(1);
  EXPECT_EQ(ClickAt(0, 1000, 100, 1), (std::vector<double>{0, 1000})) << "zoom mode off";
}

TEST_F(GraphViewTest, ZoomButtonTogglesModeAndPointerAndRightButtonFitsTheData) {
  std::vector<int> states{view.ZoomMode(), int(view.MousePointer())};
  for (int button : {1, 4}) {
    view.CmdZoomIn_MouseDown(button);
    states.insert(states.end(), {view.ZoomMode(), int(view.MousePointer())});
  }
  EXPECT_EQ(states,
            (std::vector<int>{0, int(PointerStyle::kDefault), 1, int(PointerStyle::kSizeAll), 0,
                              int(PointerStyle::kDefault)}));

  history.Resize(4);
  for (int i = 0; i < 4; ++i) history.SetSlot(i, -20 + 5 * i);
  history.SetSlot(4, -100);  // the last element is not looked at
  view.CmdZoomIn_MouseDown(2);
  EXPECT_EQ(Range(), (std::vector<double>{-20, 0})) << "the fit's top never falls below 0";
  EXPECT_EQ(view.ZoomMode(), 0);
  history.Resize(0);
  view.CmdZoomIn_MouseDown(2);
  EXPECT_EQ(Range(), (std::vector<double>{100000000000.0, 0}));
}

TEST_F(GraphViewTest, DoubleClickFlattensTheTraceUnlessZooming) {
  history.Resize(5);
  for (int i = 0; i <= 5; ++i) history.SetSlot(i, i + 1);
  history.SetSampleIndex(3);
  view.CmdZoomIn_MouseDown(1);
  view.Graph_DblClick();
  EXPECT_EQ(history.Samples(), (std::vector<double>{1, 2, 3, 4, 5, 6})) << "ignored while zooming";
  EXPECT_EQ(history.SampleIndex(), 3);
  view.CmdZoomIn_MouseDown(1);
  view.Graph_DblClick();
  EXPECT_EQ(history.SampleIndex(), 0);
  EXPECT_EQ(history.Samples(), (std::vector<double>{3, 3, 3, 3, 3, 6}));
}

// Eleven lines across and eleven down, pen width 1, in the background lightened by 10; the pen
// is left at 2 for the trace. With the grid off nothing is drawn and the pen is not touched.
TEST_F(GraphViewTest, GuideLinesMakeATenByTenGridInTheLightenedBackground) {
  config.BackRed = 5;
  config.BackGreen = 250;
  config.BackBlue = 100;
  std::string dump;
  for (const bool on : {true, false}) {
    config.GuideLine = on;
    graph.Clear(DrawColor{});
    graph.SetPenWidth(7);
    view.DrawGuideLines();
    dump += testing::DumpDrawList(graph) + "pen " + std::to_string(graph.PenWidth()) + "\n";
  }
  EXPECT_TRUE(testing::MatchesGolden("graph/golden/guide_lines.txt", dump));
}

}  // namespace
}  // namespace tarnwell
