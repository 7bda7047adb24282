// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>

#include "Golden.h"
#include "graph/GraphView.h"
#include "graph/PixelLines.h"
#include "graph/TracePlot.h"

namespace tarnwell::testing {
namespace {

// A graph of 6615 by 3975 twips over 100 slots; each tick appends the three pictures, whole, to
// `dump`. The guide lines, when on, leave a wide pen behind.
struct Scene {
  explicit Scene(std::string& out) : dump(out) {
    graph.SetSizes(6615, 3975, 6615, 3975);
    xaxis.SetSizes(6925, 135, 6925, 135);
    config.LineColor = Rgb{0, 200, 0};
    config.FontColor = Rgb{200, 0, 0};
    config.GuideLine = false;
    history.Resize(100);
  }
  void Fixed(double min, double max) {
    config.Expanded = 0;
    config.GraphMin = Value::Double(min);
    config.GraphMax = max;
  }
  void Plot(const std::string& heading) {
    const GraphRange range = ComputeRange(history, config, regional);
    TracePlot::Draw(PlotInputs{history, config, format, regional, range, range.Max - range.Min,
                               mouseX, mouseY, [this] { view.DrawGuideLines(); }},
                    graph, xaxis, testPic);
    dump += "# " + heading + "\n## graph\n" + DumpDrawList(graph) + "## xaxis\n" +
            DumpDrawList(xaxis) + "## testPic\n" + DumpDrawList(testPic);
  }

  std::string& dump;
  Regional regional;
  AppConfig config;
  SampleHistory history;
  std::string format = "#0.0";
  double mouseX = 0, mouseY = -380;
  DrawList graph, xaxis, testPic;
  GraphView view{config, history, graph, regional};
};

TEST(TracePlot, TicksDrawWhatTheGoldenPicturesShow) {
  std::string dump;
  Scene s(dump);
  // A flat trace, widened by one last decimal (4.9..5.1), runs along the middle; the middle
  // label gains a decimal for an odd count of last decimals (0.3 x 10 rounds to 3).
  for (int i = 0; i <= 100; ++i) s.history.SetSlot(i, 5.0);
  s.config.GuideLine = true;
  s.Plot("flat 5.0, automatic range, guide lines");
  s.config.BackRed = Value::Text("x");  // an unreadable background: the design colour
  s.graph.SetSizes(6625, 3985, 6625, 3985);
  s.Plot("guide lines on an unreadable background, 6625 by 3985");
  s.graph.SetSizes(6615, 3975, 6615, 3975);
  s.config.GuideLine = false;
  s.Fixed(9.7, 10);
  s.Plot("#0.0 9.7..10");
  s.format = "#0";
  s.Fixed(1, 5);
  s.Plot("#0 1..5");
  // Scrolling puts the oldest slot (37) at the left, sweeping slot i at i with the marker at the
  // latest value. Beyond the right edge the read-out of scrolling wraps into the ring (slot
  // (148 + 37) mod 100); sweeping shows the slot itself, up to the top slot 100.
  s.format = "#0.0";
  s.Fixed(0, 100);
  s.config.MouseEvent = 1;
  for (int i = 0; i <= 100; ++i) s.history.SetSlot(i, i);
  s.history.SetSampleIndex(37);
  s.mouseX = 6615, s.mouseY = -200;
  s.Plot("pointer at the right edge, above the top");
  s.mouseX = 6615 * 1.5, s.mouseY = 500;
  s.Plot("pointer beyond the right edge");
  s.config.LineMode = 1;
  s.Plot("sweeping, pointer beyond the right edge");
  s.mouseX = 6615 * 100 / 99.0;
  s.Plot("sweeping, pointer on the top slot");
  s.mouseX = 6615 / 2.0;
  s.Plot("sweeping, pointer in the middle");
  s.graph.SetSizes(0, 3975, 0, 3975);
  s.Plot("sweeping, no width: no read-out");
  s.graph.SetSizes(6615, 3975, 6615, 3975);
  s.history.SetSampleIndex(0);
  s.Plot("sweeping, marker at the left edge");
  // Fixed bounds let 150 and -50 leave the picture; automatic range keeps the lowest value 10
  // above the bottom and stops at the outer height. 98 slots put halves on the sample axis; a
  // single one draws everything at the left edge, none draws no trace and no read-out.
  s.history = SampleHistory();
  s.config.LineMode = 0, s.config.MouseEvent = 0;
  s.history.Resize(98);
  s.Fixed(0, 100);
  s.history.SetSlot(10, 150);
  s.history.SetSlot(11, -50);
  s.Plot("98 slots, fixed 0..100");
  s.config.Expanded = 1;
  s.graph.SetSizes(6615, 4000, 6615, 3975);
  s.Plot("automatic, inner height 4000");
  s.history.Resize(1);
  s.history.SetSlot(0, 7);
  s.mouseX = 3000, s.mouseY = -380, s.config.MouseEvent = 1;
  s.config.BackRed = 1, s.config.BackGreen = 2, s.config.BackBlue = 3;
  s.Plot("one slot, pointer at 3000, background 1,2,3");
  s.history.Resize(0);
  s.Fixed(0, 10);
  s.Plot("no slot, fixed 0..10, pointer at 3000");
  EXPECT_TRUE(MatchesGolden("graph/golden/TracePlot.txt", dump));
}

// The pixels CoverColumns gives a 16 by 8 picture, each rectangle in a letter of its own ('*'
// where two overlap), and whether the segments outnumber their columns.
TEST(PixelLines, CoverColumnsFillsWhatTheGoldenShows) {
  const double nan = std::numeric_limits<double>::quiet_NaN();
  const double inf = std::numeric_limits<double>::infinity();
  std::vector<std::pair<const char*, std::vector<PixelPoint>>> cases = {
      {"a single point", {{3.5, 2.5}}},
      {"two segments in two columns", {{1.5, 1}, {2.5, 6}, {2.9, 2}}},
      {"three segments in two columns", {{1.5, 1}, {2.5, 6}, {2.7, 2}, {2.9, 4}}},
      {"a steep step between exact pixel edges", {{2, 2}, {4, 6}, {4, 1}, {6, 1}}},
      {"a level segment", {{2.5, 3.5}, {12.2, 3.5}}},
      {"a level segment within a column", {{2.2, 3}, {2.8, 3}}},
      {"a level segment below the picture", {{2, 8}, {9, 8}}},
      {"a level segment from beyond the left edge", {{-4, 7}, {3.5, 7}}},
      {"a level segment above the picture", {{2, -0.5}, {9, -0.5}}},
      {"a level segment right of the picture", {{16, 3}, {30, 3}}},
      {"a level segment to a point at infinity", {{2, 3}, {inf, 3}}},
      {"beyond every edge", {{-5, 3}, {2.5, -4}, {6, 12}, {10.5, 3.5}, {25, 4}}},
      {"not-a-number and infinity break the line",
       {{1, 1}, {2, 6}, {nan, 3}, {4, 2}, {5, inf}, {6, 5}, {7, nan}, {8, 1}, {9.5, 6}}},
  };
  std::vector<PixelPoint> zigzag, slope, step;
  for (int i = 0; i < 20; ++i) zigzag.push_back({0.5 + i * 0.3, i % 2 ? 6.7 : 1.2});
  for (int i = 0; i < 48; ++i) slope.push_back({i / 3.0, 0.5 + i / 3.0 * 0.4});
  for (int i = 0; i < 64; ++i) step.push_back({i / 4.0, i < 30 ? 2.0 : i < 33 ? 4.5 : 6.0});
  cases.insert(cases.end(), {{"a steep zigzag", zigzag},
                             {"a slope, three points a column", slope},
                             {"a flat trace with a step", step}});
  std::string dump;
  for (const auto& [what, points] : cases) {
    std::vector<std::string> rows(8, std::string(16, '.'));
    const auto rects = CoverColumns(points, 16, 8);
    for (std::size_t k = 0; k < rects.size(); ++k) {
      const PixelRect& r = rects[k];
      for (int x = r.x; x < r.x + r.width; ++x) {
        for (int y = r.y; y < r.y + r.height; ++y) {
          char& pixel = rows.at(y).at(x);
          pixel = pixel == '.' ? static_cast<char>('a' + k % 26) : '*';
        }
      }
    }
    dump += std::string("# ") + what + (MoreSegmentsThanColumns(points) ? ", dense\n" : "\n");
    for (const auto& row : rows) dump += row + "\n";
  }
  EXPECT_TRUE(MatchesGolden("graph/golden/PixelLines.txt", dump));
}

}  // namespace
}  // namespace tarnwell::testing
