// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "FakeFileSystem.h"
#include "FakeMessageBox.h"
#include "SettingsRig.h"
#include "settings/SettingsForm.h"

namespace tarnwell::testing {

// The settings dialog's logic in the running program, on an in-memory file system.
struct SettingsSession : SettingsRig {
  SettingsSession() {
    write = [this] { return writeWorks; };
  }

  SettingsForm& Load() {
    form = std::make_unique<SettingsForm>(Services(messages, files));
    form->Form_Load();
    return *form;
  }
  // Opens the dialog, lets `edit` change it and presses Apply.
  template <typename Edit>
  void ApplyWith(Edit edit) {
    Load();
    std::vector<SettingsField> moves;
    form->SetFocusHandler([&](SettingsField f) { moves.push_back(f); });
    edit(*form);
    form->Apply_Click();
    focusMoves = moves;
  }

  std::vector<std::string> Shown() const {
    std::vector<std::string> texts;
    for (const auto& m : messages.shown) texts.push_back(m.text);
    return texts;
  }
  const SettingsControls& Controls() const { return form->Controls(); }

  FakeMessageBox messages;
  FakeFileSystem files;
  bool writeWorks = true;
  std::unique_ptr<SettingsForm> form;
  std::vector<SettingsField> focusMoves;
};

class SettingsFixture : public ::testing::Test, public SettingsSession {};

using Strings = std::vector<std::string>;

}  // namespace tarnwell::testing
