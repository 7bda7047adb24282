// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/DisplayPresenter.h"

#include "acquisition/NumberFormat.h"

namespace tarnwell {

DisplayPresenter::DisplayPresenter(const AppConfig& config, const ReceiveState& receive,
                                   const ReadingRoute& readings, const SampleHistory& history,
                                   LiveLabels& view, DrawGraphFn drawGraph, Timer& refreshTimer,
                                   const Regional& regional)
    : config_(config),
      receive_(receive),
      readings_(readings),
      history_(history),
      view_(view),
      drawGraph_(std::move(drawGraph)),
      refreshTimer_(refreshTimer),
      regional_(regional) {}

int DisplayPresenter::RefreshInterval(RefreshLevel level) {
  switch (level) {
    case RefreshLevel::kLow:
      return 333;
    case RefreshLevel::kHigh:
      return 50;
    case RefreshLevel::kMid:
      break;
  }
  return 100;
}

void DisplayPresenter::SetRefreshRate() {
  refreshTimer_.SetInterval(RefreshInterval(config_.Refresh(regional_)));
}

void DisplayPresenter::OnRefreshTick() {
  // Frames without a reading ("OL", a window set wrong) must not make a stale value look live.
  if (readings_.Readings() != readingsSeen_) {
    readingsSeen_ = readings_.Readings();
    alive_ = true;
    silentTicks_ = 0;
  }
  if (silentTicks_ > 30) {
    alive_ = false;
  } else {
    ++silentTicks_;
  }

  if (alive_) {
    view_.SetCurrentColor(kAliveColor);
    view_.SetCurrentVisible(true);
  } else {
    view_.SetCurrentColor(kStaleColor);
  }

  const GraphRange range = ComputeRange(history_, config_, regional_);

  const std::string& format = readings_.ValueFormat();
  if (const auto shown = readings_.ShownValue()) {
    if (auto text = FormatNumber(*shown, format, regional_)) view_.SetCurrentCaption(*text);
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
