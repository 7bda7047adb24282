// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <signal.h>

#include <cstdlib>
#include <filesystem>
#include <map>
#include <string>
#include <vector>

#include "ChildProcess.h"
#include "TestFiles.h"

namespace tarnwell::testing {

// The simulator the build made, unless TARNWELL_SIM names another.
inline std::string SimulatorPath() {
  const char* path = std::getenv("TARNWELL_SIM");
  return path ? path : "";
}

// The indicator simulator on `<folder>/ports/COM1`, with its frame log and counts in `folder`.
class SimProcess {
 public:
  explicit SimProcess(const std::string& folder) : link(folder + "/ports/COM1"), folder_(folder) {}

  // Starts it with `args` and waits until the link exists; false when it does not come.
  bool Start(std::vector<std::string> args) {
    std::filesystem::create_directories(folder_ + "/ports");
    std::filesystem::remove(folder_ + "/sim.ready");
    args.insert(args.end(), {"--link", link, "--log", folder_ + "/sim.log", "--stats",
                             folder_ + "/sim.stats", "--ready", folder_ + "/sim.ready"});
    return process_.Start(SimulatorPath(), args, {}, folder_ + "/sim.out") &&
           WaitUntil([&] { return ReadFile(folder_ + "/sim.ready") == link + "\n"; }, 5);
  }
  // Ends it with SIGTERM; its exit code, or -1 when it does not end.
  int Stop() {
    process_.Signal(SIGTERM);
    return Wait(5);
  }
  // Waits for a run with a limit to end by itself; its exit code, or -1.
  int Wait(double timeout) { return process_.Wait(timeout).value_or(-1); }

  // The frames written whole to a reader, in order, as logged.
  std::vector<std::string> Logged() const { return Split(ReadFile(folder_ + "/sim.log"), "\n"); }
  long long Stat(const std::string& name) const {
    const std::string text = "\n" + ReadFile(folder_ + "/sim.stats");
    const auto at = text.find("\n" + name + "=");
    return at == std::string::npos ? -1 : std::atoll(text.c_str() + at + name.size() + 2);
  }

  const std::string link;

 private:
  std::string folder_;
  ChildProcess process_;
};

}  // namespace tarnwell::testing
