// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "FakeClock.h"
#include "FakeSerialPort.h"
#include "FakeTimer.h"
#include "config/ConfigTable.h"
#include "config/NumberText.h"
#include "platform/ProcessStarter.h"
#include "settings/SettingsServices.h"

namespace tarnwell::testing {

// Notes each start as "<program> <arguments...>"; `fails` makes every start fail.
struct FakeProcessStarter : ProcessStarter {
  bool StartDetached(const std::string& program, const std::vector<std::string>& args) override {
    if (fails) return false;
    started += program;
    for (const std::string& argument : args) started += " " + argument;
    return true;
  }
  bool OpenFolder(const std::string& folder) override { return StartDetached("browse", {folder}); }
  std::string started;
  bool fails = false;
};

// The fake port, where choosing the port or the speed can fail as well ("port", "speed").
struct ScriptedPort : FakeSerialPort {
  std::optional<SerialError> SetCommPort(std::int16_t port) override {
    return fails == "port" ? SerialError{8002, "No such port"} : FakeSerialPort::SetCommPort(port);
  }
  std::optional<SerialError> SetSettings(const std::string& s) override {
    return fails == "speed" ? SerialError{8003, "Bad settings"} : FakeSerialPort::SetSettings(s);
  }
  std::string fails;
};

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
    return {config,   ports, recordTimer, history,   messages, lang,   clock,
            regional, files, processes,   onRefresh, onWrite,  onReset};
  }

  // config.ini's values as the settings hold them.
  std::vector<std::string> Settings() const {
    std::vector<std::string> s;
    for (const auto& r : ConfigRows()) s.push_back(r.field + ("=" + r.write(config, regional)));
    return s;
  }
  // The settings, the port and the rest as "name=value"; history=<top index>:<its reading>;
  // writes=<count>, with ":older" when the last one held other settings than the present ones;
  // opened= what was started.
  std::vector<std::string> Now() const {
    std::vector<std::string> s = Settings();
    const auto n = [](int v) { return std::to_string(v); };
    s.insert(
        s.end(),
        {"com=" + n(serial.commPort), "line=" + serial.settings, "open=" + n(serial.open),
         "history=" + n(history.UB()) + ":" + NumberToText(history.Slot(history.UB()), regional),
         "index=" + n(history.SampleIndex()), "interval=" + n(recordTimer.interval),
         "opens=" + n(serial.opens), "refreshes=" + n(refreshes), "resets=" + n(lastValueResets),
         "writes=" + n(writes) + (writes && written != Settings() ? ":older" : ""),
         "opened=" + processes.started});
    return s;
  }

  AppConfig config;
  ScriptedPort serial;
  PortControl ports{serial};
  FakeTimer recordTimer;
  SampleHistory history;
  LangTable lang;
  FakeClock clock;
  Regional regional;
  FakeProcessStarter processes;
  std::function<bool()> write = [] { return true; };
  int refreshes = 0, writes = 0, lastValueResets = 0;
  std::vector<std::string> written;
  std::function<void()> onRefresh = [this] { ++refreshes; },
                        onReset = [this] { ++lastValueResets; };
  std::function<bool()> onWrite = [this] { return ++writes, written = Settings(), write(); };
};

// The entries of `now` that differ from `before` (taken the same way), blank-separated.
inline std::string Changes(const std::vector<std::string>& before,
                           const std::vector<std::string>& now) {
  std::string out;
  for (std::size_t i = 0; i < now.size(); ++i) out += now[i] == before[i] ? "" : " " + now[i];
  return out.empty() ? out : out.substr(1);
}

}  // namespace tarnwell::testing
