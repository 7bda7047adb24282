// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <functional>
#include <string>

#include "FakeClock.h"
#include "FakeProcessStarter.h"
#include "FakeSerialPort.h"
#include "FakeTimer.h"
#include "settings/SettingsServices.h"

namespace tarnwell::testing {

// The running program around the settings dialog, with text n of the table reading "Tn" and the
// port open. `write` stands for rewriting config.ini.
struct SettingsRig {
  SettingsRig() {
    for (int i = 0; i <= 1000; ++i) lang.Set(i, "T" + std::to_string(i));
    config.LastLogTime = "31/01/2024 15:00:00";
    history.Resize(100);
    serial.open = true;
  }

  SettingsServices Services(MessageBox& messages, FileSystem& files) {
    return {config,
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
              return write();
            },
            [this] { ++lastValueResets; }};
  }

  AppConfig config;
  FakeSerialPort serial;
  PortControl ports{serial};
  FakeTimer timerLog;
  SampleHistory history;
  LangTable lang;
  FakeClock clock;
  Regional regional;
  FakeProcessStarter processes;
  std::function<bool()> write = [] { return true; };
  int refreshes = 0, writes = 0, lastValueResets = 0;
};

}  // namespace tarnwell::testing
