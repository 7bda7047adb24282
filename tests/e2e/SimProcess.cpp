// SPDX-License-Identifier: GPL-3.0-or-later
#include "SimProcess.h"

#include <signal.h>

#include <cstdlib>
#include <filesystem>

#include "TestFiles.h"

namespace tarnwell::testing {

std::string SimulatorPath() {
  const char* path = std::getenv("TARNWELL_SIM");
  return path && *path ? path : TARNWELL_SIM_BUILT;
}

SimProcess::SimProcess(const std::string& folder)
    : link(folder + "/ports/COM1"),
      log(folder + "/sim.log"),
      stats(folder + "/sim.stats"),
      folder_(folder) {}

bool SimProcess::Start(const std::vector<std::string>& args) {
  std::filesystem::create_directories(folder_);
  const std::string ready = folder_ + "/sim.ready";
  std::filesystem::remove(ready);
  std::vector<std::string> all = args;
  for (const std::string& a : {std::string("--link"), link, std::string("--log"), log,
                               std::string("--stats"), stats, std::string("--ready"), ready}) {
    all.push_back(a);
  }
  if (!process_.Start(SimulatorPath(), all, {}, folder_ + "/sim.out", folder_ + "/sim.err")) {
    return false;
  }
  return WaitUntil([&] { return ReadFile(ready) == link + "\n"; }, 5);
}

int SimProcess::Stop() {
  process_.Signal(SIGTERM);
  return Wait(5);
}

int SimProcess::Wait(double timeout) { return process_.Wait(timeout).value_or(-1); }

std::vector<std::string> SimProcess::Logged() const { return Split(ReadFile(log), "\n"); }

std::map<std::string, long long> SimProcess::Stats() const {
  std::map<std::string, long long> counts;
  for (const std::string& line : Split(ReadFile(stats), "\n")) {
    const auto eq = line.find('=');
    if (eq != std::string::npos) counts[line.substr(0, eq)] = std::atoll(line.c_str() + eq + 1);
  }
  return counts;
}

}  // namespace tarnwell::testing
