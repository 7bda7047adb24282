// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <cmath>
#include <sstream>
#include <string>
#include <tuple>

#include "Golden.h"
#include "graph/GraphView.h"
#include "graph/PixelLines.h"
#include "graph/TracePlot.h"

namespace tarnwell::testing {
namespace {

// A graph of 6615 by 3975 twips over 100 slots and the view that zooms it; the guide lines, when
// on, leave a wide pen behind.
class Graph : public ::testing::Test {
 protected:
  Graph() {
    graph.SetSizes(6615, 3975, 6615, 3975);
    xaxis.SetSizes(6925, 135, 6925, 135);
    config.LineColor = Rgb{0, 200, 0}, config.FontColor = Rgb{200, 0, 0};
    config.GuideLine = false;
    history.Resize(100);
  }
  // One tick after the changes of a case of golden/TracePlot.txt, its three pictures whole.
  std::string Tick(const std::string& row) {
    std::istringstream in(row);
    for (std::string t; in >> t;) {
      const std::string key = t.substr(0, t.find('='));
      std::vector<double> n;
      for (char* at = t.data() + key.size(); *at;) n.push_back(std::strtod(at + 1, &at));
      if (n.size() == 2) n.insert(n.end(), {n[0], n[1]});
      if (key == "guide" || key == "noguide") config.GuideLine = key == "guide";
      if (key == "back") config.BackRed = t == "back=x" ? Value::Text("x") : Value(int(n[0]));
      if (key == "back" && n.size() == 3) config.BackGreen = int(n[1]), config.BackBlue = int(n[2]);
      if (key == "size") graph.SetSizes(n[0], n[1], n[2], n[3]);
      if (key == "fixed") config.Expanded = 0, config.GraphMin = Value::Double(n[0]);
      if (key == "fixed") config.GraphMax = n[1];
      if (key == "auto") config.Expanded = 1;
      if (key == "format") format = t.substr(7);
      if (key == "pointer" || key == "nopointer") config.MouseEvent = key == "pointer";
      if (key == "pointer") mouseX = n[0], mouseY = n[1];
      if (key == "sweep" || key == "scroll") config.LineMode = key == "sweep";
      if (key == "clear") history = SampleHistory();
      if (key == "slots") history.Resize(int(n[0]));
      for (int i = 0; i <= 100 && (key == "all" || key == "ramp"); ++i)
        history.SetSlot(i, key == "all" ? n[0] : i);
      if (key == "set") history.SetSlot(int(n[0]), n[1]);
      if (key == "index") history.SetSampleIndex(int(n[0]));
    }
    const GraphRange range = ComputeRange(history, config, regional);
    TracePlot::Draw(PlotInputs{history, config, format, regional, range, range.Max - range.Min,
                               mouseX, mouseY, [this] { view.DrawGuideLines(); }},
                    graph, xaxis, testPic);
    const std::string dump = "## graph\n" + DumpDrawList(graph) + "## xaxis\n" +
                             DumpDrawList(xaxis) + "## testPic\n" + DumpDrawList(testPic);
    return dump.substr(0, dump.size() - 1);
  }
  // The range {min, max} after a zoom click on min..max with the pointer last at `y`.
  std::vector<double> ClickAt(double min, double max, double y, int button) {
    config.GraphMin = Value::Double(min), config.GraphMax = max;
    view.PointerMoved(100, y);
    view.PointerPressed(button);
    return {config.GraphMin.NumberOr(regional, -12345), config.GraphMax};
  }

  Regional regional;
  AppConfig config;
  SampleHistory history;
  std::string format = "#0.0";
  double mouseX = 0, mouseY = -380;
  DrawList graph, xaxis, testPic;
  GraphView view{config, history, graph, regional};
};

TEST_F(Graph, TicksDrawWhatTheGoldenPicturesShow) {
  EXPECT_TRUE(MatchesScript("graph/golden/TracePlot.txt", [this](auto& row) { return Tick(row); }));
}

TEST(PixelLines, CoverColumnsFillsWhatTheGoldenShows) {
  EXPECT_TRUE(MatchesScript("graph/golden/PixelLines.txt", [](const std::string& row) {
    std::vector<PixelPoint> points;
    std::istringstream in(row);
    for (std::string p; in >> p;)
      points.push_back(
          {std::strtod(p.c_str(), nullptr), std::strtod(&p[p.find(',') + 1], nullptr)});
    std::vector<std::string> rows(8, std::string(16, '.'));
    const auto rects = CoverColumns(points, 16, 8);
    for (std::size_t k = 0; k < rects.size(); ++k) {
      for (int x = rects[k].x; x < rects[k].x + rects[k].width; ++x) {
        for (int y = rects[k].y; y < rects[k].y + rects[k].height; ++y) {
          char& pixel = rows.at(y).at(x);
          pixel = pixel == '.' ? static_cast<char>('a' + k % 26) : '*';
        }
      }
    }
    std::string out = MoreSegmentsThanColumns(points) ? "dense" : "sparse";
    for (const auto& r : rows) out += "\n" + r;
    return out;
  }));
}

// The pointer is lifted by 380: with outer height 3975 the sides meet at 1987.5 + 380. A bound
// read from config.ini that a zoom leaves is kept as it was written.
TEST_F(Graph, ZoomClicksHalveOrExtendTheRangeOnTheSideClicked) {
  EXPECT_EQ(view.GraphMouseY(), -380);
  view.ZoomButtonPressed(1);
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
        << min << ".." << max << " y " << y << " " << button;
  }
  config.GraphMin = Value::Text("0"), config.GraphMax = 1000;
  view.PointerPressed(1);
  EXPECT_EQ(std::pair(config.GraphMin.IsText(), config.GraphMax), std::pair(true, 500.0));
  view.ZoomButtonPressed(1);
  EXPECT_EQ(ClickAt(0, 1000, 100, 1), (std::vector<double>{0, 1000})) << "zoom mode off";
}

// The zoom button's left or middle button toggles the zoom mode and its pointer; a double click
// flattens the trace, but not while zooming. The right button fits the range to the readings:
// all but the last slot, with a top never below 0.
TEST_F(Graph, ZoomButtonTogglesModeAndPointerAndRightButtonFitsTheData) {
  history.Resize(5);
  for (int i = 0; i <= 5; ++i) history.SetSlot(i, -1 - i);
  history.SetSampleIndex(3);
  std::vector<int> states{view.ZoomMode(), int(view.MousePointer())};
  for (int button : {1, 4}) {
    view.ZoomButtonPressed(button);
    view.ResetTrace();
    states.insert(states.end(), {view.ZoomMode(), int(view.MousePointer()), history.SampleIndex()});
  }
  view.ZoomButtonPressed(2);
  EXPECT_EQ(
      std::tuple(states, history.Samples(), config.GraphMin.NumberOr(regional, 1), config.GraphMax),
      std::tuple(std::vector<int>{0, 0, 1, 5, 3, 0, 0, 0},
                 std::vector<double>{-3, -3, -3, -3, -3, -6}, -3.0, 0.0));
}

}  // namespace
}  // namespace tarnwell::testing
