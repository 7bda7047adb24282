// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cmath>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "acquisition/GraphRange.h"
#include "graph/GraphController.h"
#include "graph/TracePlot.h"
#include "platform/DrawList.h"

namespace tarnwell::testing {

// One tick's graph picture, 320 by 160 pixels at 96 dots per inch, from a scene of a golden file
// that both front ends paint: "samples=N shape=noise|sine|ramp|flat scroll|sweep auto|fixed
// index=N pointer guide". Trace and marker colours stand apart from the texts (white).
struct GraphScene {
  static constexpr int kWidth = 320;
  static constexpr int kHeight = 160;
  static constexpr DrawColor kTrace{0, 200, 0};
  static constexpr DrawColor kMarker{200, 0, 0};

  explicit GraphScene(const std::string& row) {
    graph.SetSizes(kWidth * 15.0, kHeight * 15.0, kWidth * 15.0, kHeight * 15.0);
    config.LineColor = Rgb{kTrace.red, kTrace.green, kTrace.blue};
    config.FontColor = Rgb{kMarker.red, kMarker.green, kMarker.blue};
    config.GuideLine = false;
    std::map<std::string, std::string> is;
    std::istringstream in(row);
    for (std::string t; in >> t;) is[t.substr(0, t.find('='))] = t.substr(t.find('=') + 1);
    const int samples = std::stoi(is["samples"]);
    history.Resize(samples);
    config.LineMode = is.count("sweep") ? 1 : 0;
    config.Expanded = is.count("fixed") ? 0 : 1;
    config.GraphMin = Value::Double(100), config.GraphMax = 900;
    config.GuideLine = is.count("guide") > 0;
    config.MouseEvent = is.count("pointer") ? 1 : 0;
    unsigned noise = 12345;
    for (int i = 0; i < samples; ++i) {
      noise = noise * 1103515245u + 12345u;
      const double random = static_cast<double>((noise >> 16) % 1000);
      const std::string& shape = is["shape"];
      const double v = shape == "noise"  ? random
                       : shape == "sine" ? 500 + 480 * std::sin(i * 0.15)
                       : shape == "ramp" ? i * 1000.0 / samples
                                         : 5.0;
      history.SetSlot(i, v);
    }
    history.SetSampleIndex(is.count("index") ? std::stoi(is["index"]) : 0);
    const GraphRange range = ComputeRange(history, config, regional);
    TracePlot::Draw(PlotInputs{history, config, format, regional, range, range.Max - range.Min,
                               2400, 600, [this] { view.DrawGuideLines(); }},
                    graph, xaxis, testPic);
  }

  // The rows of `colour` in each column of a painted picture, and the columns holding text
  // (white), as "x #top-bottom,... |top-bottom t" lines; `pixel(x, y)` reads the picture.
  template <typename Pixel>
  static std::string CoveredRows(Pixel pixel) {
    std::string out;
    for (int x = 0; x < kWidth; ++x) {
      std::string line = std::to_string(x);
      for (const auto& [mark, colour] : {std::pair('#', kTrace), std::pair('|', kMarker)}) {
        std::string runs;
        for (int y = 0; y < kHeight; ++y) {
          if (!(pixel(x, y) == colour) || (y > 0 && pixel(x, y - 1) == colour)) continue;
          int end = y;
          while (end + 1 < kHeight && pixel(x, end + 1) == colour) ++end;
          runs += (runs.empty() ? "" : ",") + std::to_string(y) + "-" + std::to_string(end);
        }
        if (!runs.empty()) line += std::string(" ") + mark + runs;
      }
      bool text = false;
      for (int y = 0; y < kHeight; ++y) {
        const DrawColor c = pixel(x, y);
        text = text || (c.red > 100 && c.red == c.green && c.green == c.blue);
      }
      out += line + (text ? " t" : "") + "\n";
    }
    return out.substr(0, out.size() - 1);
  }

  Regional regional;
  AppConfig config;
  SampleHistory history;
  std::string format = "#0.0";
  DrawList graph, xaxis, testPic;
  GraphController view{config, history, graph, regional, [this](const Value& min, double max) {
                         config.GraphMin = min, config.GraphMax = max;
                       }};
};

}  // namespace tarnwell::testing
