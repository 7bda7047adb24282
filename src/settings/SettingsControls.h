// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <array>
#include <string>

namespace tarnwell {

// The text boxes of the settings dialog, in the order of kTextBoxes.
enum class SettingsField {
  CommSel,
  NofSamples,
  TxtMin,
  TxtMax,
  TxtSecond,
  TxtMinute,
  TxtMotionTmr,
  TxtJump,
  TxtThreshold
};

// What the settings dialog's controls show: texts, ticks, list positions and option choices
// (-1 for none selected), and the enabled states the rules set. Initial values are the design's.
struct SettingsControls {
  std::string CommSel = "0";
  int BaudSel = -1;
  int DevType = -1;
  int LangSel = -1;
  std::string LabCommSet = "Comm1,9600,8b,n,1s";

  std::string NofSamples = "0";
  bool GrMode = false;
  bool MouseEvent = false;
  int OptPf = -1;
  bool Expanded = false;
  std::string TxtMin = "0";
  std::string TxtMax = "1000";

  bool SelDatLogEnab = false;
  bool RecordOnStartup = false;
  bool LogIncSel = false;
  int LogSet = -1;
  std::string TxtSecond = "1";
  std::string TxtMinute = "1";
  std::string TxtMotionTmr = "0";
  int LogTypeSel = -1;
  std::string TxtJump = "0";
  std::string TxtThreshold = "0";

  struct Enabled {
    bool CommSel = true;
    bool NofSamples = true;
    std::array<bool, 4> LogSet{true, true, true, true};
    bool TxtSecond = false;
    bool TxtMinute = false;
    bool TxtMotionTmr = true;
    std::array<bool, 2> LogTypeSel{true, true};
    bool LogIncSel = true;
    bool FrameFile = true;
    bool TxtJump = true;
    bool TxtThreshold = true;
    bool LabStabTime = true;
    bool LabJump = true;
    bool LabThreshold = true;
    bool LabMin = true;
    bool LabMax = true;
    bool TxtMin = true;
    bool TxtMax = true;
  } enabled;
};

// A text box: the text it shows, whether it is enabled, and its name in the window.
struct TextBox {
  std::string SettingsControls::*text;
  bool SettingsControls::Enabled::*enabled;
  const char* name;
};

inline constexpr std::array<TextBox, 9> kTextBoxes{{
    {&SettingsControls::CommSel, &SettingsControls::Enabled::CommSel, "CommSel"},
    {&SettingsControls::NofSamples, &SettingsControls::Enabled::NofSamples, "NofSamples"},
    {&SettingsControls::TxtMin, &SettingsControls::Enabled::TxtMin, "TxtMin"},
    {&SettingsControls::TxtMax, &SettingsControls::Enabled::TxtMax, "TxtMax"},
    {&SettingsControls::TxtSecond, &SettingsControls::Enabled::TxtSecond, "TxtSecond"},
    {&SettingsControls::TxtMinute, &SettingsControls::Enabled::TxtMinute, "TxtMinute"},
    {&SettingsControls::TxtMotionTmr, &SettingsControls::Enabled::TxtMotionTmr, "TxtMotionTmr"},
    {&SettingsControls::TxtJump, &SettingsControls::Enabled::TxtJump, "TxtJump"},
    {&SettingsControls::TxtThreshold, &SettingsControls::Enabled::TxtThreshold, "TxtThreshold"},
}};

inline const TextBox& TextBoxOf(SettingsField field) {
  return kTextBoxes[static_cast<std::size_t>(field)];
}

}  // namespace tarnwell
