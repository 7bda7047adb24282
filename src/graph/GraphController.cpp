// SPDX-License-Identifier: GPL-3.0-or-later
#include "graph/GraphController.h"

#include <algorithm>

#include "config/NumberText.h"

namespace tarnwell {
namespace {

constexpr double kPointerLift = 380;

}  // namespace

GraphController::GraphController(AppConfig& config, SampleHistory& history, DrawSurface& graph,
                                 const Regional& regional)
    : config_(config), history_(history), graph_(graph), regional_(regional) {}

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
  double& max = config_.GraphMax;
  if (Mode == 0) {
    const double mid = (min + max) / 2;
    if (LowerSide) {
      max = mid;
    } else {
      config_.GraphMin = Value::Double(mid);
    }
  } else if (Mode == 1) {
    if (LowerSide) {
      config_.GraphMin = Value::Double(min - (max - min) / 2);
    } else {
      if (min == max) max += 1;
      max = max + (max - min) / 2;
    }
  }
}

void GraphController::FitToData() {
  double max = 0;
  double min = 100000000000.0;
  const auto& samples = history_.Samples();
  // All slots but the top one, which is never drawn.
  for (auto v = samples.begin(); v + 1 < samples.end(); ++v) {
    max = std::max(max, *v);
    min = std::min(min, *v);
  }
  config_.GraphMax = max;
  config_.GraphMin = Value::Double(min);
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
