// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <sys/types.h>

#include <optional>
#include <string>
#include <vector>

namespace tarnwell::testing {

// A program started by a test. One that is still running when the object goes is killed, so a
// failed assertion never leaves a process behind.
class ChildProcess {
 public:
  ChildProcess() = default;
  ChildProcess(const ChildProcess&) = delete;
  ChildProcess& operator=(const ChildProcess&) = delete;
  ~ChildProcess();

  // Starts `program` with `args`. `env` holds NAME=VALUE entries that are added to the test's
  // environment or replace what it holds; standard output and error go to the files named.
  bool Start(const std::string& program, const std::vector<std::string>& args,
             const std::vector<std::string>& env, const std::string& out, const std::string& err);

  // The exit code (128 + the signal for one ended by a signal), or nothing when it still runs
  // after `timeout` seconds.
  std::optional<int> Wait(double timeout);
  void Signal(int signal);
  // True once the process has a handler for `signal` installed.
  bool Catches(int signal) const;
  bool Running() const { return pid_ > 0; }
  pid_t Pid() const { return pid_; }

 private:
  pid_t pid_ = -1;
};

}  // namespace tarnwell::testing
