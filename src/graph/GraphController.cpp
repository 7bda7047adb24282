// SPDX-License-Identifier: GPL-3.0-or-later
#include "graph/GraphController.h"

#include <algorithm>
#include <utility>

#include "acquisition/GraphRange.h"
#include "config/NumberText.h"

namespace tarnwell {
namespace {

constexpr double kPointerLift = 380;

}  // namespace

GraphController::GraphController(const AppConfig& config, SampleHistory& history,
                                 DrawSurface& graph, const Regional& regional, SetRangeFn setRange)
    : config_(config),
      history_(history),
      graph_(graph),
      regional_(regional),
      setRange_(std::move(setRange)) {}

void GraphController::ResetPointer() {
  graphMouseX_ = 0;
  graphMouseY_ = -kPointerLift;
}

void GraphController::DrawGuideLines() {
  if (!config_.GuideLine) return;
  graph_.SetPenWidth(1);
  const double width = graph_.Width();
  const double height = graph_.Height();
  const double sx = RoundHalfEven((width - 10) / 10);
  const double sy = RoundHalfEven((height - 10) / 10);
  const Rgb back = config_.ShownBackColor(regional_);
  const Rgb light = MakeColor(back.red + 10, back.green + 10, back.blue + 10);
  const DrawColor color{light.red, light.green, light.blue};
  for (int i = 0; i <= 10; ++i) graph_.Line(sx * i, 0, sx * i, height, color);
  for (int i = 0; i <= 10; ++i) graph_.Line(0, sy * i, width, sy * i, color);
  graph_.SetPenWidth(2);
}

void GraphController::ZoomValueAxis(bool LowerSide, int Mode) {
  const double min = config_.GraphMinimum(regional_);
  double max = config_.GraphMax;
  Value newMin = config_.GraphMin;
  if (Mode == 0) {
    const double mid = (min + max) / 2;
    if (LowerSide) {
      max = mid;
    } else {
      newMin = Value::Double(mid);
    }
  } else if (Mode == 1) {
    if (LowerSide) {
      newMin = Value::Double(min - (max - min) / 2);
    } else {
      if (min == max) max += 1;
      max = max + (max - min) / 2;
    }
  } else {
    return;
  }
  if (setRange_) setRange_(newMin, max);
}

void GraphController::FitToData() {
  // The top never below 0: readings all alike and below it still give a range to draw.
  const GraphRange extent = SampleExtent(history_);
  if (setRange_) setRange_(Value::Double(extent.Min), std::max(0.0, extent.Max));
}

void GraphController::ZoomButtonPressed(MouseButton button) {
  if (button == kRightButton) {
    FitToData();
    return;
  }
  zooming_ = !zooming_;
  pointer_ = zooming_ ? PointerStyle::kSizeAll : PointerStyle::kDefault;
}

void GraphController::PointerPressed(MouseButton button) {
  if (!zooming_) return;
  // The click's own position is not used: the last pointer position decides, lifted by 380,
  // so a click a little below the middle still counts as upper.
  const bool lower = !(graphMouseY_ < graph_.Height() / 2);
  if (button == kLeftButton) {
    ZoomValueAxis(lower, 0);
  } else if (button == kRightButton) {
    ZoomValueAxis(lower, 1);
  }
}

void GraphController::PointerMoved(double x, double y) {
  graphMouseX_ = x;
  graphMouseY_ = y - kPointerLift;
}

void GraphController::ResetTrace() {
  if (zooming_) return;
  history_.TraceFill();
}

}  // namespace tarnwell
