// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "i18n/FormTexts.h"
#include "i18n/TextIndex.h"
#include "platform/qt/QtFormTexts.h"

namespace tarnwell::testing {

// The table indices a control's texts come from: its tool tip, its caption when it shows one,
// the entries of a list of two or more, or a window's title.
inline std::vector<int> UsedTextIndices(const ControlTextIndex& c) {
  std::vector<int> used;
  auto add = [&](int offset) {
    if (std::optional<int> index = TextIndexPlus(c.textIndex, offset)) used.push_back(*index);
  };
  if (c.isWindow) {
    add(200);
    return used;
  }
  add(100);
  if (c.caption) add(200);
  if (c.listEntries >= 2) {
    for (int i = 0; i < c.listEntries; ++i) add(200 + i);
  }
  return used;
}

// The controls with a text index as the windows are designed: name, index, window, caption
// shown, list entries. The main window's hidden controls are not listed.
inline std::vector<ControlTextIndex> MainWindowDesign() {
  return {{"XaxisTop", "55", false, false, 0}, {"Current", "52", false, true, 0},
          {"App_Stop", "38", false, true, 0},  {"CmdZoomIn", "76", false, false, 0},
          {"TheSetup", "81", false, false, 0}, {"TestPic", "55", false, false, 0}};
}

inline std::vector<ControlTextIndex> SettingsDialogDesign() {
  return {{"ChSettings", "7", true, true, 0},        {"Frame1", "4", false, true, 0},
          {"Label1_0", "5", false, true, 0},         {"Label1_1", "6", false, true, 0},
          {"LabCommSet", "30", false, true, 0},      {"Label2", "30", false, true, 0},
          {"Frame2", "8", false, true, 0},           {"Label1_2", "9", false, true, 0},
          {"GrMode", "37", false, true, 0},          {"MouseEvent", "42", false, true, 0},
          {"Frame3_2", "31", false, true, 0},        {"OptPf_0", "32", false, true, 0},
          {"OptPf_1", "33", false, true, 0},         {"OptPf_2", "34", false, true, 0},
          {"Frame3_3", "40", false, true, 0},        {"Expanded", "12", false, true, 0},
          {"LabMin", "10", false, true, 0},          {"LabMax", "11", false, true, 0},
          {"Frame3_0", "17", false, true, 0},        {"SelDatLogEnab", "28", false, true, 0},
          {"RecordOnStartup", "54", false, true, 0}, {"LogIncSel", "29", false, true, 0},
          {"LogSet_0", "18", false, true, 0},        {"LogSet_1", "19", false, true, 0},
          {"LogSet_2", "20", false, true, 0},        {"LogSet_3", "67", false, true, 0},
          {"LabStabTime", "68", false, true, 0},     {"FrameFile", "23", false, true, 0},
          {"LogTypeSel_0", "21", false, true, 0},    {"LogTypeSel_1", "22", false, true, 0},
          {"FrameLogStyle", "73", false, true, 0},   {"LabJump", "41", false, true, 0},
          {"TxtJump", "41", false, false, 0},        {"LabThreshold", "71", false, true, 0},
          {"TxtThreshold", "71", false, false, 0},   {"Frame4", "74", false, true, 0},
          {"LangSel", "56", false, false, 3},        {"Command1", "13", false, true, 0},
          {"Apply", "14", false, true, 0},           {"Cancel", "16", false, true, 0}};
}

// Every index the program's code shows a text from, and every index the controls take.
inline std::vector<int> UsedTextIndices(const std::vector<ControlTextIndex>& controls) {
  std::vector<int> used(std::begin(text::kAllMessages), std::end(text::kAllMessages));
  for (const ControlTextIndex& c : controls) {
    for (int index : UsedTextIndices(c)) used.push_back(index);
  }
  return used;
}

}  // namespace tarnwell::testing
