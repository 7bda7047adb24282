// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <functional>
#include <string>

#include "acquisition/GraphRange.h"
#include "acquisition/SampleHistory.h"
#include "config/AppConfig.h"
#include "platform/DrawSurface.h"
#include "platform/Regional.h"

namespace tarnwell {

// Everything one tick's picture is made from.
struct PlotInputs {
  const SampleHistory& history;
  const AppConfig& config;
  const std::string& valueFormat;
  const Regional& regional;
  // The tick's range and its span, taken before the range is widened for a flat trace.
  GraphRange range;
  double span = 0;
  // The last pointer position over the graph, in twips (GraphMouseX, GraphMouseY).
  double graphMouseX = 0;
  double graphMouseY = -380;
  // Draws the guide-line grid on the graph right after it is cleared.
  std::function<void()> drawGuideLines;
};

// Draws the whole trend graph of one tick: the trace in scrolling or sweeping mode, the value
// labels, the mouse read-out, the sample axis on `xaxis`, and clears `testPic`.
class TracePlot {
 public:
  static void Draw(const PlotInputs& in, DrawSurface& graph, DrawSurface& xaxis,
                   DrawSurface& testPic);

 private:
  TracePlot(const PlotInputs& in, DrawSurface& graph);

  void Widen();
  void Scale();
  void Trace();
  void ValueLabels();
  void MouseReadOut();
  void SampleAxis(DrawSurface& xaxis) const;

  // The slot shown at position `i` from the left.
  int SlotAt(int i) const;
  // Height above the bottom of `value`, limited to the graph with automatic range.
  double HeightOf(double value) const;
  void Label(double x, double y, double value, const std::string& pattern, const DrawFont& font);

  const PlotInputs& in_;
  DrawSurface& graph_;
  int ub_;
  bool sweeping_;
  bool automatic_;
  double max_, min_, span_;
  double yScale_ = 0;
  double xScale_ = 0;
};

}  // namespace tarnwell
