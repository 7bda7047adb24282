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
class SettingsFixture : public ::testing::Test, public SettingsRig {
 protected:
  SettingsFixture() {
    write = [this] { return writeWorks; };
  }

  SettingsForm& Load() {
    form = std::make_unique<SettingsForm>(Services(messages, files));
    form->Form_Load();
    return *form;
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
};

using Strings = std::vector<std::string>;

}  // namespace tarnwell::testing
