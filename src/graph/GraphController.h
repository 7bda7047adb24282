// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <functional>

#include "acquisition/SampleHistory.h"
#include "config/AppConfig.h"
#include "graph/MouseButton.h"
#include "platform/DrawSurface.h"
#include "platform/Regional.h"

namespace tarnwell {

// The main window's pointer shapes: the arrow, and the four-way sizing pointer of zoom mode.
enum class PointerStyle { kDefault, kSizeAll };

// What the operator does with the trend graph: the guide-line grid, the vertical zoom, the trace
// reset and the pointer tracking. Zoom sets a new GraphMin and GraphMax through `setRange`; the
// next tick shows the new range.
class GraphController {
 public:
  // `graph` is the graph's picture: the grid is drawn on it and its outer size decides the
  // zoom clicks.
  using SetRangeFn = std::function<void(const Value& min, double max)>;
  GraphController(const AppConfig& config, SampleHistory& history, DrawSurface& graph,
                  const Regional& regional, SetRangeFn setRange);

  // Zoom mode: clicks on the graph zoom its value axis, and the trace is not reset.
  bool Zooming() const { return zooming_; }
  // Pointer position in twips; GraphMouseY lies 380 above the pointer.
  double GraphMouseX() const { return graphMouseX_; }
  double GraphMouseY() const { return graphMouseY_; }
  // The pointer the main window shows; it changes with zoom mode.
  PointerStyle MousePointer() const { return pointer_; }

  // Back to the pointer position of start-up: the top left corner.
  void ResetPointer();
  void DrawGuideLines();
  // Mode 0 zooms into the lower or upper half, mode 1 extends the range down or up.
  void ZoomValueAxis(bool LowerSide, int Mode);

  void ZoomButtonPressed(MouseButton button);
  void PointerPressed(MouseButton button);
  void PointerMoved(double x, double y);
  // The trace reset; also called by the receive path for the first frame and by the start of
  // a recording. Does nothing while zoom mode is on.
  void ResetTrace();

 private:
  void FitToData();

  const AppConfig& config_;
  SampleHistory& history_;
  DrawSurface& graph_;
  const Regional& regional_;
  SetRangeFn setRange_;
  bool zooming_ = false;
  double graphMouseX_ = 0;
  double graphMouseY_ = -380;
  PointerStyle pointer_ = PointerStyle::kDefault;
};

}  // namespace tarnwell
