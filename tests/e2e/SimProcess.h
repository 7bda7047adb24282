// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <map>
#include <string>
#include <vector>

#include "ChildProcess.h"

namespace tarnwell::testing {

// The indicator simulator on `<folder>/ports/COM1`, with its frame log and counts in `folder`.
class SimProcess {
 public:
  explicit SimProcess(const std::string& folder);

  // Starts it with `args` and waits until the link exists; false when it does not come.
  bool Start(const std::vector<std::string>& args);
  // Ends it with SIGTERM; its exit code, or -1 when it does not end.
  int Stop();
  // Waits for a run with a limit to end by itself; its exit code, or -1.
  int Wait(double timeout);

  // The frames written whole to a reader, in order, as logged.
  std::vector<std::string> Logged() const;
  std::map<std::string, long long> Stats() const;

  const std::string link;
  const std::string log;
  const std::string stats;

 private:
  std::string folder_;
  ChildProcess process_;
};

// The simulator to run: TARNWELL_SIM, or the one this build made.
std::string SimulatorPath();

}  // namespace tarnwell::testing
