// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace tarnwell {

// What a control of the settings dialog is; each front end makes its own widget of each kind.
enum class ControlKind {
  kFrame,  // a captioned group box holding other controls
  kLabel,
  kTextBox,
  kCheckBox,
  kOptionButton,  // one of an option group: choosing it unchooses the others of its group
  kDropDownList,  // a list to choose from, not to type in
  kButton,
  kFolderButton,  // a button showing a folder picture instead of a caption
};

// Place and size in twips, within the control's container.
struct DesignPlace {
  double left = 0, top = 0, width = 0, height = 0;
};

// One control as designed. Its texts are the Turkish design texts, which the language texts
// found by `textIndex` (-1 for none) replace when the dialog loads.
struct DesignControl {
  std::string name;
  ControlKind kind = ControlKind::kLabel;
  std::string container;  // the frame holding it; empty for the window
  int textIndex = -1;
  DesignPlace place;
  std::string caption;  // a label's or button's caption, a frame's title, a text box's text
  std::string toolTip;
  std::string font;
  bool hidden = false;
  bool wordWrap = false;
  // A line too long for it is cut in the middle with an ellipsis, and shown whole as its tip.
  bool elided = false;
  std::vector<std::string> entries;  // of a list
  std::string group;                 // of an option button: its group, and its place in it
  int element = -1;
};

// The settings dialog as designed: the window and its controls in the order they are made,
// containers before what they hold. The language texts are given, and the Tab key goes through
// the controls, in that order.
class SettingsDesign {
 public:
  static constexpr const char* kName = "ChSettings";
  static constexpr int kTextIndex = 7;
  static constexpr const char* kTitle = "Channel Settings";
  static constexpr double kWidth = 5400;  // client area, twips
  static constexpr double kHeight = 7710;
  static constexpr const char* kFont = "Tahoma";
  static constexpr int kFontPoints = 8;

  static const std::vector<DesignControl>& Controls();
  // The position of the control `name` in Controls(); -1 for none.
  static int IndexOf(std::string_view name);
  // The position of the control's container; -1 for the window.
  static int ContainerOf(int index);
};

}  // namespace tarnwell
