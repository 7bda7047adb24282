// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

namespace tarnwell {

// The window the resize rules act on: its outer size in twips, which the rules may change.
class ResizableWindow {
 public:
  virtual ~ResizableWindow() = default;
  virtual bool Minimized() const = 0;
  virtual double Width() const = 0;
  virtual double Height() const = 0;
  virtual void SetWidth(double width) = 0;
  virtual void SetHeight(double height) = 0;
};

// Where the resize rules put the main window's controls (twips, in the window).
struct MainLayout {
  double graphWidth = 6615;
  double graphHeight = 3975;
  double weighBoxLeft = -240;
  double weighBoxTop = 4320;
  double xaxisTop = 45;
  double xaxisWidth = 6925;
};

// The graph takes all the room the window gives; the value panel stays at the bottom right; the
// window is kept at least 8005 by 3825 twips with the design sizes.
class ResizeRules {
 public:
  // The room kept below the graph for the value panel and the sample axis; with a margin, the
  // least window height.
  static constexpr double kRoomBelowGraph = 2175;
  // Width the design kept for a record panel that is never shown; the least window width keeps it.
  static constexpr double kRecordPanelWidth = 780;
  static constexpr double kWeighBoxWidth = 6975;
  static constexpr double kWeighBoxHeight = 1400;

  static constexpr double MinimumWidth() { return kRecordPanelWidth + kWeighBoxWidth + 250; }
  static constexpr double MinimumHeight() { return kRoomBelowGraph + 1650; }

  // Runs the rules on the window's current size; nothing is done while it is minimised.
  // Returns false (and leaves `layout` alone) in that case.
  static bool Apply(ResizableWindow& window, MainLayout& layout);
};

}  // namespace tarnwell
