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

  struct Result {
    int exitCode = -1;  // -1 when it did not end in time
    std::string output;
  };

  // Starts `program` (looked up in PATH when it has no slash) with `args`. `env` holds NAME=VALUE
  // entries that are added to the test's environment or replace what it holds, and bare NAMEs
  // that are removed from it; standard output and error both go to the file `out`.
  bool Start(const std::string& program, const std::vector<std::string>& args,
             const std::vector<std::string>& env, const std::string& out);
  // The exit code (128 + the signal for one ended by a signal), or nothing when it still runs
  // after `timeout` seconds.
  std::optional<int> Wait(double timeout);
  void Signal(int signal);
  // True once the process has a handler for `signal` installed.
  bool Catches(int signal) const;

  // Runs `argv` to its end with the test's environment; output and errors together.
  static Result Run(const std::vector<std::string>& argv, double timeout = 60);

 private:
  pid_t pid_ = -1;
};

}  // namespace tarnwell::testing
