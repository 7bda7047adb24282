// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>

#include "app/DisplayPresenter.h"
#include "config/AppConfig.h"
#include "config/ConfigWindow.h"
#include "graph/GraphController.h"
#include "i18n/LangTable.h"
#include "platform/DrawList.h"

namespace tarnwell {

// The main window as the program's logic sees it. Sizes and positions in twips.
class MainView : public LiveLabels, public WindowGeometry {
 public:
  virtual void SetCaption(const std::string& caption) = 0;
  virtual std::string Caption() const = 0;
  // Outer size; a minimised or maximised window takes it for its restored bounds.
  virtual void ResizeWindow(double width, double height) = 0;
  virtual void SetZoomButtonVisible(bool visible) = 0;
  virtual void SetPointerStyle(PointerStyle style) = 0;
  // Gives every control with a text index its texts from the table.
  virtual void ApplyFormTexts(const LangTable& texts) = 0;
  // The pictures of the graph, the sample-axis strip and the small test box, with their sizes
  // brought up to date; they live as long as the window.
  virtual DrawList& GraphPicture() = 0;
  virtual DrawList& XaxisPicture() = 0;
  virtual DrawList& TestPicture() = 0;
  // Shows what was drawn on the pictures.
  virtual void ShowPlot() = 0;
  // Ends the program (the window closes without the shutdown sequence having anything to do).
  virtual void CloseWindow() = 0;
};

}  // namespace tarnwell
