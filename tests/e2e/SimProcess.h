// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdlib>

#include "ChildProcess.h"
#include "TestFiles.h"

namespace tarnwell::testing {

// The simulator the build made, unless TARNWELL_SIM names another.
inline std::string SimulatorPath() {
  const char* path = std::getenv("TARNWELL_SIM");
  return path ? path : "";
}

// The indicator simulator on `<folder>/ports/COM1`, with its frame log in `folder`.
struct SimProcess {
  explicit SimProcess(const std::string& folder) : link(folder + "/ports/COM1"), folder(folder) {}

  // Starts it with `args`; false when the link does not come.
  bool Start(std::vector<std::string> args) {
    std::filesystem::create_directories(folder + "/ports");
    std::filesystem::remove(folder + "/sim.ready");
    args.insert(args.end(),
                {"--link", link, "--log", folder + "/sim.log", "--ready", folder + "/sim.ready"});
    return process.Start(SimulatorPath(), args, {}, folder + "/sim.out") &&
           WaitUntil([&] { return ReadFile(folder + "/sim.ready") == link + "\n"; }, 30);
  }
  std::optional<int> Stop() {
    process.Signal(SIGTERM);
    return process.Wait(30);
  }
  // The frames written whole to a reader, in order.
  std::vector<std::string> Logged() const { return Split(ReadFile(folder + "/sim.log"), "\n"); }

  const std::string link, folder;
  ChildProcess process;
};

}  // namespace tarnwell::testing
