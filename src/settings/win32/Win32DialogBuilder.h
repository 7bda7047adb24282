// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <windows.h>

#include <vector>

namespace tarnwell {

// Makes the settings dialog's controls of SettingsDesign as child windows of the dialog, all of
// them its direct children, in the design's order: a frame is a group box under the controls it
// holds, which stand where the design puts them in it. Control i gets the id kFirstId + i and
// its text index; the first of each option group, and each control that is no option button,
// starts a group for the keyboard's arrows.
class Win32DialogBuilder {
 public:
  static constexpr int kFirstId = 1000;

  // The controls with their design texts, tool tips, list entries and the folder button's
  // picture (the system's, kept for the whole run); `charset` for their fonts.
  static std::vector<HWND> Build(HWND dialog, int charset);
  // Places the controls and the dialog's client area, and makes their fonts (Tahoma or Arial,
  // 8 points), for the dialog's DPI now.
  static void Place(HWND dialog, const std::vector<HWND>& controls, int charset);
};

}  // namespace tarnwell
