// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <sstream>
#include <string>

#include "Golden.h"
#include "graph/GraphController.h"
#include "graph/PixelLines.h"
#include "graph/TracePlot.h"

namespace tarnwell::testing {
namespace {

// A graph of 6615 by 3975 twips over 100 slots and the view that zooms it; the guide lines, when
// on, leave a wide pen behind.
class Graph : public ::testing::Test {
 protected:
  Graph() {
    graph.SetSizes(6615, 3975, 6615, 3975), xaxis.SetSizes(6925, 135, 6925, 135);
    config.LineColor = Rgb{0, 200, 0}, config.FontColor = Rgb{200, 0, 0};
    history.Resize(100);
  }
  // The changes of a case of golden/TracePlot.txt or golden/Zoom.txt.
  void Apply(const std::string& row) {
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
      for (int i = 0; i <= std::min(100, history.UB()) && (key == "all" || key == "ramp"); ++i)
        history.SetSlot(i, key == "all" ? n[0] : i);
      if (key == "set") history.SetSlot(int(n[0]), n[1]);
      if (key == "index") history.SetSampleIndex(int(n[0]));
      if (key == "textmin") config.GraphMin = Value::Text(t.substr(8));
      if (key == "zoom") view.ZoomButtonPressed(static_cast<MouseButton>(n[0]));
      if (key == "click")
        view.PointerMoved(100, n[0]), view.PointerPressed(static_cast<MouseButton>(n[1]));
      if (key == "reset") view.ResetTrace();
    }
  }
  // One tick after the changes of `row`, its three pictures whole.
  std::string Tick(const std::string& row) {
    Apply(row);
    const GraphRange range = ComputeRange(history, config, regional);
    TracePlot::Draw(PlotInputs{history, config, format, regional, range, range.Max - range.Min,
                               mouseX, mouseY, [this] { view.DrawGuideLines(); }},
                    graph, xaxis, testPic);
    const std::string dump = "## graph\n" + DumpDrawList(graph) + "## xaxis\n" +
                             DumpDrawList(xaxis) + "## testPic\n" + DumpDrawList(testPic);
    return dump.substr(0, dump.size() - 1);
  }
  Regional regional;
  AppConfig config;
  SampleHistory history;
  std::string format = "#0.0";
  double mouseX = 0, mouseY = -380;
  DrawList graph, xaxis, testPic;
  GraphController view{config, history, graph, regional, [this](const Value& min, double max) {
                         config.GraphMin = min, config.GraphMax = max;
                       }};
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
    for (std::size_t k = 0; k < rects.size(); ++k)
      for (int x = rects[k].x; x < rects[k].x + rects[k].width; ++x)
        for (int y = rects[k].y; y < rects[k].y + rects[k].height; ++y)
          rows.at(y).at(x) = rows.at(y).at(x) == '.' ? char('a' + k % 26) : '*';
    std::string out = MoreSegmentsThanColumns(points) ? "dense" : "sparse";
    for (const auto& r : rows) out += "\n" + r;
    return out;
  }));
}

TEST_F(Graph, ZoomButtonAndClicksSetTheRangeAsTheGoldenShows) {
  EXPECT_TRUE(MatchesScript("graph/golden/Zoom.txt", [this](const std::string& row) {
    Apply(row);
    std::string out =
        "range " + config.GraphMin.ToText(regional) +
        (config.GraphMin.IsText() ? " (text).." : "..") + GoldenNumber(config.GraphMax) +
        ", zoom " + std::to_string(int{view.Zooming()}) + ", pointer " +
        (view.MousePointer() == PointerStyle::kSizeAll ? "sizing" : "arrow") + " at " +
        GoldenNumber(view.GraphMouseY()) + ", index " + std::to_string(history.SampleIndex()) + ",";
    for (double v : history.Samples())
      out += history.Samples().size() < 10 ? " " + GoldenNumber(v) : "";
    return out;
  }));
}

}  // namespace
}  // namespace tarnwell::testing
