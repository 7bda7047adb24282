// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/DisplayPresenter.h"

#include "acquisition/NumberFormat.h"

namespace tarnwell {

DisplayPresenter::DisplayPresenter(const AppConfig& config, ReceiveState& receive,
                                   const FrameState& frame, const SampleHistory& history,
                                   LiveLabels& view, DrawGraphFn drawGraph, Timer& refreshTimer,
                                   const Regional& regional)
    : config_(config),
      receive_(receive),
      frame_(frame),
      history_(history),
      view_(view),
      drawGraph_(std::move(drawGraph)),
      refreshTimer_(refreshTimer),
      regional_(regional) {}

int DisplayPresenter::RefreshInterval(double performance) {
  if (performance == 0) return 333;
  if (performance == 2) return 50;
  return 100;
}

void DisplayPresenter::SetRefreshRate() {
  refreshTimer_.SetInterval(RefreshInterval(config_.PerformanceLevel(regional_)));
}

void DisplayPresenter::OnRefreshTick() {
  if (receive_.SilentTicks > 30) {
    receive_.DataAlive = false;
  } else {
    ++receive_.SilentTicks;
  }

  if (receive_.DataAlive) {
    view_.SetCurrentColor(kAliveColor);
    view_.SetCurrentVisible(true);
  } else {
    view_.SetCurrentColor(kStaleColor);
  }

  const GraphRange range = ComputeRange(history_, config_, regional_);

  const std::string& format = frame_.ValueFormat;
  if (recording_ && recording_()) {
    if (auto text = FormatNumber(frame_.CurrentValue, format, regional_)) {
      view_.SetCurrentCaption(*text);
    }
  } else if (const auto latest = history_.Latest()) {
    // Not the slot before SampleIndex: just after a wrap there is none (with one sample never),
    // and after frames that held no reading it is an old one.
    if (auto text = FormatNumber(*latest, format, regional_)) view_.SetCurrentCaption(*text);
  }

  const double span = range.Max - range.Min;

  const double rangeTop = view_.GraphOuterHeight() + 300;
  view_.SetRangeOfChangeTop(rangeTop);
  std::string fps;
  if (receive_.FramesPerSecond) {
    fps = FormatNumber(*receive_.FramesPerSecond, "", regional_).value_or("");
  }
  view_.SetLabNofDat(fps + "/s", rangeTop + 200);
  view_.SetLogoTop(rangeTop + 650);

  if (auto half = FormatNumber(span / 2, format, regional_)) {
    view_.SetRangeOfChangeCaption("+/- " + *half);
  }

  drawGraph_(range, span);
}

}  // namespace tarnwell
