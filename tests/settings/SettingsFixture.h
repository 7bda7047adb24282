// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "FakeClock.h"
#include "FakeFileSystem.h"
#include "FakeMessageBox.h"
#include "FakeProcessStarter.h"
#include "FakeSerialPort.h"
#include "FakeTimer.h"
#include "settings/SettingsForm.h"

namespace tarnwell::testing {

// The running program around the settings dialog, with text n of the table reading "Tn".
class SettingsFixture : public ::testing::Test {
 protected:
  SettingsFixture() {
    for (int i = 0; i <= 100; ++i) lang.Set(i, "T" + std::to_string(i));
    config.LastLogTime = "31/01/2024 15:00:00";
    history.Resize(100);
    serial.open = true;
  }

  SettingsServices Services() {
    return SettingsServices{config,
                            ports,
                            timerLog,
                            history,
                            messages,
                            lang,
                            clock,
                            regional,
                            files,
                            processes,
                            [this] { ++refreshes; },
                            [this] {
                              ++writes;
                              return writeWorks;
                            },
                            [this] { ++lastValueResets; }};
  }

  SettingsForm& Load() {
    form = std::make_unique<SettingsForm>(Services());
    form->Form_Load();
    return *form;
  }

  std::vector<std::string> Shown() const {
    std::vector<std::string> texts;
    for (const auto& m : messages.shown) texts.push_back(m.text);
    return texts;
  }

  const SettingsControls& Controls() const { return form->Controls(); }

  AppConfig config;
  FakeSerialPort serial;
  PortControl ports{serial};
  FakeTimer timerLog;
  SampleHistory history;
  FakeMessageBox messages;
  LangTable lang;
  FakeClock clock;
  Regional regional;
  FakeFileSystem files;
  FakeProcessStarter processes;
  int refreshes = 0;
  int writes = 0;
  int lastValueResets = 0;
  bool writeWorks = true;
  std::unique_ptr<SettingsForm> form;
};

using Strings = std::vector<std::string>;

}  // namespace tarnwell::testing
