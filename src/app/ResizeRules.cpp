// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/ResizeRules.h"

namespace tarnwell {

bool ResizeRules::Apply(ResizableWindow& window, MainLayout& layout) {
  if (window.Minimized()) return false;
  layout.graphWidth = window.Width() - 375;
  if (kRoomBelowGraph + 1500 > window.Height()) window.SetHeight(MinimumHeight());
  layout.weighBoxTop = window.Height() - kWeighBoxHeight - 450;
  layout.graphHeight = window.Height() - kRoomBelowGraph + 50;
  if (MinimumWidth() > window.Width()) {
    window.SetWidth(MinimumWidth());
    // The window's own resize runs the rules again with the new width; do what that run does.
    layout.graphWidth = window.Width() - 375;
  }
  layout.weighBoxLeft = window.Width() - kWeighBoxWidth - 275;
  layout.xaxisTop = layout.graphHeight + 150;
  layout.xaxisWidth = layout.graphWidth;
  return true;
}

}  // namespace tarnwell
