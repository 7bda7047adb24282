// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cmath>
#include <string>

#include "graph/GraphController.h"
#include "graph/TracePlot.h"
#include "platform/DrawList.h"
#include "platform/Twips.h"

namespace tarnwell {

// One tick of the trend graph on a 1920 by 1080 pixel graph, the same on every front end.
inline constexpr int kWidthPx = 1920;
inline constexpr int kHeightPx = 1080;

// The shape of the trace decides how many pixels it covers, and so the cost of painting it.
enum Shape { kSmooth = 0, kJitter = 1, kFullNoise = 2 };

struct Tick {
  Tick(int nofSamples, int shape) {
    graph.SetSizes(twips.FromPixels(kWidthPx), twips.FromPixels(kHeightPx),
                   twips.FromPixels(kWidthPx), twips.FromPixels(kHeightPx));
    xaxis.SetSizes(graph.Width(), 135, graph.Width(), 135);
    config.NofSamples = nofSamples;
    config.MouseEvent = 1;
    history.Resize(nofSamples);
    unsigned noise = 12345;
    for (int i = 0; i < nofSamples; ++i) {
      noise = noise * 1103515245u + 12345u;
      const double random = static_cast<double>((noise >> 16) % 1000) / 1000.0;
      double v = 0;
      switch (shape) {
        case kSmooth:  // a slow drift and a step
          v = 500 + 300 * std::sin(i * 0.01) + (i > nofSamples / 2 ? 80 : 0);
          break;
        case kJitter:  // the same with vibration of 2 % of the range
          v = 500 + 300 * std::sin(i * 0.01) + 20 * random + (i > nofSamples / 2 ? 80 : 0);
          break;
        default:  // a steady reading whose last digit flickers: automatic range magnifies it
          v = 1000 + random / 100;
          break;
      }
      history.Append(v, nofSamples);
    }
  }
  void Draw() {
    const GraphRange range = ComputeRange(history, config, regional);
    TracePlot::Draw(PlotInputs{history, config, format, regional, range, range.Max - range.Min,
                               9000, 4000, [this] { view.DrawGuideLines(); }},
                    graph, xaxis, testPic);
  }

  Twips twips{96};
  Regional regional;
  AppConfig config;
  SampleHistory history;
  std::string format = "#0.00";
  DrawList graph, xaxis, testPic;
  GraphController view{config, history, graph, regional, nullptr};  // no zoom here
};

}  // namespace tarnwell
