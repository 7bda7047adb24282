// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <map>
#include <string>

#include "FakeClock.h"
#include "FakeFileSystem.h"
#include "FakeMessageBox.h"
#include "FakeSerialPort.h"
#include "FakeTimer.h"
#include "TestFiles.h"
#include "app/Mainform.h"

namespace tarnwell::testing {

// The platform a main window's program runs on in tests: config.ini with `settings` (none
// without) and the shipped language files in /prog.
struct ProgramFakes {
  explicit ProgramFakes(const ConfigValues& settings) {
    if (!settings.empty()) files.files["/prog/config.ini"] = ConfigIniText(settings);
    for (const std::string name : {"en", "tr", "ru", "bg", "fr", "gr", "sp", "std"})
      files.files["/prog/" + name + ".lng"] = ReadFile(TARNWELL_DATA_DIR "/" + name + ".lng");
  }
  Platform Services(const Regional& regional) {
    return Platform{port,    clock,  files,     messages,         regional,
                    refresh, record, stability, SystemCodePages()};
  }
  // After the end of a frame the opening cut, two frames come and the display is refreshed; the
  // first starts the trace afresh.
  void Frames() { port.Receive("34\r+0012.34\r+0012.34\r"), refresh.Fire(); }

  FakeSerialPort port;
  FakeClock clock;
  FakeFileSystem files;
  FakeMessageBox messages;
  FakeTimer refresh, record, stability;
};

}  // namespace tarnwell::testing
