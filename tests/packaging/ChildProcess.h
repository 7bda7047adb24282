// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <sys/types.h>

#include <chrono>
#include <map>
#include <optional>
#include <string>
#include <vector>

namespace tarnwell::testing {

// A program started from a test, its standard output and error going to one file.
class ChildProcess {
 public:
  struct Result {
    int exitCode = -1;  // -1 when it did not end by itself, or ended by a signal
    std::string output;
  };

  // Environment changes for the child: a value sets the variable, nullopt removes it.
  using EnvChanges = std::map<std::string, std::optional<std::string>>;

  ChildProcess(const std::vector<std::string>& argv, const EnvChanges& env, std::string outputPath);
  ~ChildProcess();
  ChildProcess(const ChildProcess&) = delete;
  ChildProcess& operator=(const ChildProcess&) = delete;

  bool Started() const { return pid_ > 0; }
  // True while the child has not ended.
  bool Running();
  void Signal(int signal);
  // Waits for the end, killing the child when it outlives the limit.
  Result Wait(std::chrono::milliseconds limit);

  // Runs a command to its end with the environment of the test.
  static Result Run(const std::vector<std::string>& argv,
                    std::chrono::milliseconds limit = std::chrono::seconds(60));

 private:
  std::string outputPath_;
  pid_t pid_ = -1;
  std::optional<int> status_;
};

}  // namespace tarnwell::testing
