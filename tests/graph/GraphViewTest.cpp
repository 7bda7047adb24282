// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include "Golden.h"
#include "graph/GraphView.h"
#include "platform/DrawList.h"

namespace tarnwell {
namespace {

class GraphViewTest : public ::testing::Test {
 protected:
  GraphViewTest() { graph.SetSizes(6555, 3915, 6615, 3975); }

  void Bounds(double min, double max) {
    config.GraphMin = Value::Double(min);
    config.GraphMax = max;
  }
  double Min() const { return config.GraphMin.NumberOr(regional, -12345); }
  // A zoom click with the pointer last seen at `y` (the click's own place does not count).
  void ClickAt(double y, int button) {
    view.Graph_MouseMove(100, y);
    view.Graph_MouseDown(button);
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
  ASSERT_EQ(view.ZoomMode(), 1);
  const double upper = 500, lower = 3000;
  struct Case {
    double min, max, y;
    int button;
    double wantMin, wantMax;
  } cases[] = {
      {0, 1000, upper, 1, 500, 1000},  {0, 1000, lower, 1, 0, 500},   {0, 1000, upper, 2, 0, 1500},
      {0, 1000, lower, 2, -500, 1000}, {5, 5, upper, 2, 5, 6.5},      {5, 5, lower, 2, 5, 5},
      {0, 1000, upper, 4, 0, 1000},    {0, 1000, 2367, 1, 500, 1000}, {0, 1000, 2367.5, 1, 0, 500},
  };
  for (const Case& c : cases) {
    Bounds(c.min, c.max);
    ClickAt(c.y, c.button);
    EXPECT_EQ(Min(), c.wantMin) << c.min << ".." << c.max << " y " << c.y << " b " << c.button;
    EXPECT_EQ(config.GraphMax, c.wantMax) << c.min << ".." << c.max << " y " << c.y;
  }
  EXPECT_EQ(view.GraphMouseX(), 100);
  EXPECT_EQ(view.GraphMouseY(), 1987.5);

  // Zooming into the lower half leaves a bound read from config.ini as it was written.
  config.GraphMin = Value::Text("0");
  config.GraphMax = 1000;
  ClickAt(lower, 1);
  EXPECT_TRUE(config.GraphMin.IsText());
  EXPECT_EQ(config.GraphMax, 500);

  view.CmdZoomIn_MouseDown(1);
  ASSERT_EQ(view.ZoomMode(), 0);
  Bounds(0, 1000);
  ClickAt(100, 1);
  EXPECT_EQ(Min(), 0) << "no zoom with zoom mode off";
  EXPECT_EQ(config.GraphMax, 1000);
}

TEST_F(GraphViewTest, ZoomButtonTogglesModeAndPointerAndRightButtonFitsTheData) {
  EXPECT_EQ(view.MousePointer(), PointerStyle::kDefault);
  view.CmdZoomIn_MouseDown(1);
  EXPECT_EQ(view.ZoomMode(), 1);
  EXPECT_EQ(view.MousePointer(), PointerStyle::kSizeAll);
  view.CmdZoomIn_MouseDown(4);
  EXPECT_EQ(view.ZoomMode(), 0);
  EXPECT_EQ(view.MousePointer(), PointerStyle::kDefault);

  history.Resize(4);
  for (int i = 0; i < 4; ++i) history.SetSlot(i, -20 + 5 * i);
  history.SetSlot(4, -100);  // the last element is not looked at
  view.CmdZoomIn_MouseDown(2);
  EXPECT_EQ(Min(), -20);
  EXPECT_EQ(config.GraphMax, 0) << "the fit's top never falls below 0";
  EXPECT_EQ(view.ZoomMode(), 0);

  history.Resize(0);
  view.CmdZoomIn_MouseDown(2);
  EXPECT_EQ(Min(), 100000000000.0);
  EXPECT_EQ(config.GraphMax, 0);
}

TEST_F(GraphViewTest, DoubleClickFlattensTheTraceUnlessZooming) {
  history.Resize(5);
  for (int i = 0; i <= 5; ++i) history.SetSlot(i, i + 1);
  history.SetSampleIndex(3);
  view.CmdZoomIn_MouseDown(1);
  view.Graph_DblClick();
  EXPECT_EQ(history.SampleIndex(), 3) << "a reset asked for while zooming is ignored";
  EXPECT_EQ(history.Slot(0), 1);

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
  graph.SetPenWidth(7);
  view.DrawGuideLines();
  std::string dump =
      testing::DumpDrawList(graph) + "pen " + std::to_string(graph.PenWidth()) + "\n";
  graph.Clear(DrawColor{});
  graph.SetPenWidth(7);
  config.GuideLine = false;
  view.DrawGuideLines();
  dump += "# grid off\n" + testing::DumpDrawList(graph) + "pen " +
          std::to_string(graph.PenWidth()) + "\n";
  EXPECT_TRUE(testing::MatchesGolden("graph/golden/guide_lines.txt", dump));
}

}  // namespace
}  // namespace tarnwell
