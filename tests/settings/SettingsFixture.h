// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <gtest/gtest.h>

#include <initializer_list>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "FakeFileSystem.h"
#include "FakeMessageBox.h"
#include "SettingsRig.h"
#include "settings/SettingsForm.h"

namespace tarnwell::testing {

using Strings = std::vector<std::string>;

// The settings dialog's logic in the running program, on an in-memory file system.
struct SettingsSession : SettingsRig {
  SettingsForm& Load() {
    form = std::make_unique<SettingsForm>(Services(messages, files));
    form->Form_Load();
    return *form;
  }
  // Opens the dialog, lets `edit` change it and presses Apply.
  template <typename Edit>
  void ApplyWith(Edit edit) {
    Load();
    focusMoves.clear();
    form->SetFocusHandler([this](SettingsField f) { focusMoves.push_back(f); });
    edit(*form);
    form->Apply_Click();
  }

  Strings Shown() const {
    Strings texts;
    for (const auto& m : messages.shown) texts.push_back(m.text);
    return texts;
  }
  const SettingsControls& Controls() const { return form->Controls(); }
  // Several settings or control values as texts, blank-separated, to compare at once.
  template <typename... T>
  std::string Texts(const T&... v) const {
    std::string line;
    ((line += (line.empty() ? "" : " ") + Text(v)), ...);
    return line;
  }
  std::string Text(const Value& v) const { return v.ToText(regional); }
  static std::string Text(const std::string& s) { return s; }
  static std::string Text(bool b) { return b ? "on" : "off"; }
  static std::string Text(int i) { return std::to_string(i); }
  static std::string Text(double d) {
    std::ostringstream out;
    out << d;
    return out.str();
  }
  // 0/1 in groups: the four interval options; the second, minute and stability boxes; the file
  // types and the record frame's other controls; the range's labels and boxes.
  std::string Enabled() const {
    const auto& e = Controls().enabled;
    std::string s;
    const auto add = [&](std::initializer_list<bool> group) {
      if (!s.empty()) s += ' ';
      for (bool b : group) s += b ? '1' : '0';
    };
    add({e.LogSet[0], e.LogSet[1], e.LogSet[2], e.LogSet[3]});
    add({e.TxtSecond, e.TxtMinute, e.TxtMotionTmr});
    add({e.LogTypeSel[0], e.LogTypeSel[1], e.LogIncSel, e.FrameFile, e.TxtJump, e.TxtThreshold,
         e.LabStabTime, e.LabJump, e.LabThreshold});
    add({e.LabMin, e.LabMax, e.TxtMin, e.TxtMax});
    return s;
  }

  FakeMessageBox messages;
  FakeFileSystem files;
  std::unique_ptr<SettingsForm> form;
  std::vector<SettingsField> focusMoves;
};

class SettingsFixture : public ::testing::Test, public SettingsSession {};

}  // namespace tarnwell::testing
