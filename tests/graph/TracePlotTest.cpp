// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <string>

#include "Golden.h"
#include "graph/TracePlot.h"

namespace tarnwell::testing {
namespace {

// A graph of 6615 by 3975 twips over 100 slots, whose guide lines leave a wide pen behind; each
// tick appends the three pictures, whole, to `dump`.
struct Scene {
  explicit Scene(std::string& out) : dump(out) {
    graph.SetSizes(6615, 3975, 6615, 3975);
    xaxis.SetSizes(6925, 135, 6925, 135);
    config.LineColor = Rgb{0, 200, 0};
    config.FontColor = Rgb{200, 0, 0};
    history.Resize(100);
  }
  void Fixed(double min, double max) {
    config.Expanded = 0;
    config.GraphMin = Value::Double(min);
    config.GraphMax = max;
  }
  void Plot(const std::string& heading) {
    const GraphRange range = ComputeRange(history, config, regional);
    const auto grid = [this] {
      graph.Line(0, 0, 1, 1, DrawColor{9, 9, 9});
      graph.SetPenWidth(2);
    };
    TracePlot::Draw(PlotInputs{history, config, format, regional, range, range.Max - range.Min,
                               mouseX, mouseY, grid},
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
};

TEST(TracePlot, TicksDrawWhatTheGoldenPicturesShow) {
  std::string dump;
  {
    // A flat trace, widened by one last decimal (4.9..5.1), runs along the middle; the middle
    // label gains a decimal for an odd count of last decimals (0.3 x 10 rounds to 3).
    Scene s(dump);
    for (int i = 0; i <= 100; ++i) s.history.SetSlot(i, 5.0);
    s.Plot("flat 5.0, automatic range");
    s.Fixed(9.7, 10);
    s.Plot("#0.0 9.7..10");
    s.format = "#0";
    s.Fixed(1, 5);
    s.Plot("#0 1..5");
    // Scrolling puts the oldest slot (37) at the left, sweeping slot i at i with the marker at the
    // latest value. Beyond the right edge the read-out of scrolling wraps into the ring (slot
    // (148 + 37) mod 100), sweeping has no slot 148 to show.
    s.format = "#0.0";
    s.Fixed(0, 100);
    s.config.MouseEvent = 1;
    for (int i = 0; i < 100; ++i) s.history.SetSlot(i, i);
    s.history.SetSampleIndex(37);
    s.mouseX = 6615, s.mouseY = -200;
    s.Plot("pointer at the right edge, above the top");
    s.mouseX = 6615 * 1.5, s.mouseY = 500;
    s.Plot("pointer beyond the right edge");
    s.config.LineMode = 1;
    s.Plot("sweeping, pointer beyond the right edge");
    s.mouseX = 6615 / 2.0;
    s.Plot("sweeping, pointer in the middle");
    s.history.SetSampleIndex(0);
    s.Plot("sweeping, marker at the left edge");
    // Fixed bounds let 150 and -50 leave the picture; automatic range keeps the lowest value 10
    // above the bottom and stops at the outer height. 98 slots put halves on the sample axis; a
    // single one draws everything at the left edge.
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
  }
  EXPECT_TRUE(MatchesGolden("graph/golden/TracePlot.txt", dump));
}

}  // namespace
}  // namespace tarnwell::testing
