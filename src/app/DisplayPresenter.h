// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <functional>
#include <string>

#include "acquisition/GraphRange.h"
#include "acquisition/ReadingRoute.h"
#include "acquisition/ReceiveState.h"
#include "acquisition/SampleHistory.h"
#include "config/AppConfig.h"
#include "platform/Timer.h"

namespace tarnwell {

// The main window's labels that the tick writes. Positions in twips.
class LiveLabels {
 public:
  virtual ~LiveLabels() = default;
  virtual void SetCurrentColor(Rgb color) = 0;
  virtual void SetCurrentVisible(bool visible) = 0;
  virtual void SetCurrentCaption(const std::string& caption) = 0;
  virtual double GraphOuterHeight() const = 0;
  virtual void SetRangeOfChangeTop(double top) = 0;
  virtual void SetRangeOfChangeCaption(const std::string& caption) = 0;
  virtual void SetLabNofDat(const std::string& caption, double top) = 0;
  virtual void SetLogoTop(double top) = 0;
};

// Everything the tick writes: the labels and the graph.
// Redraws the whole graph for this tick's range; `span` is Max - Min before any widening.
using DrawGraphFn = std::function<void(const GraphRange& range, double span)>;

inline constexpr Rgb kAliveColor{255, 128, 0};
inline constexpr Rgb kStaleColor{128, 64, 0};

// The heartbeat of the main window: shows the latest reading, bright while readings come and
// dimmed on the 32nd tick without one, the rate and the graph.
class DisplayPresenter {
 public:
  DisplayPresenter(const AppConfig& config, const ReceiveState& receive,
                   const ReadingRoute& readings, const SampleHistory& history, LiveLabels& view,
                   DrawGraphFn drawGraph, Timer& refreshTimer, const Regional& regional);

  // The refresh timer's interval from Performance: 333, 100 or 50 ms.
  void SetRefreshRate();
  void OnRefreshTick();

  static int RefreshInterval(RefreshLevel level);

 private:
  const AppConfig& config_;
  const ReceiveState& receive_;
  const ReadingRoute& readings_;
  const SampleHistory& history_;
  LiveLabels& view_;
  DrawGraphFn drawGraph_;
  Timer& refreshTimer_;
  const Regional& regional_;
  std::uint64_t readingsSeen_ = 0;
  bool alive_ = false;
  int silentTicks_ = 10;
};

}  // namespace tarnwell
