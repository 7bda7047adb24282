// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <array>

#include "config/AppConfig.h"

namespace tarnwell {

// The main window's controls as its design has them, in the order they are made.
enum class MainControl {
  kGraph,
  kXaxisTop,
  kRangeofChange,
  kLabNofDat,
  kPicLogo,
  kWeighBox,
  kCurrent,
  kAppStop,
  kCmdZoomIn,
  kTheSetup,
  kTestPic,
};

enum class MainControlKind { kPicture, kLabel, kLogo, kPanel, kCheckBox, kPictureButton };

struct MainControlDesign {
  MainControl control;
  const char* name;
  MainControlKind kind;
  // Inside the value panel WeighBox, else inside the window.
  bool inWeighBox;
  // Twips, in the container.
  double left, top, width, height;
  // The text index; empty where the design texts stay.
  const char* textIndex;
  // UTF-8.
  const char* caption;
  const char* toolTip;
  // 0: the window's own font.
  double fontPoints;
  bool bold;
  // Shown from the start; the zoom button only in advanced mode.
  bool shown;
};

// Every control of the main window with its design place, size, texts and font. The graph, its
// sample axis and the value panel are moved by the resize rules, the labels below the graph by
// the update cycle.
const std::array<MainControlDesign, 11>& MainDesign();
const MainControlDesign& DesignOf(MainControl control);

// The face of every font of the main window.
inline constexpr const char* kMainFontFace = "Tahoma";
// The window's design client size, twips.
inline constexpr double kMainClientWidth = 6810;
inline constexpr double kMainClientHeight = 5970;
// The window's background and text colours, for any part no control paints.
inline constexpr Rgb kMainBackground{40, 40, 40};
inline constexpr Rgb kMainForeground{224, 224, 224};

}  // namespace tarnwell
