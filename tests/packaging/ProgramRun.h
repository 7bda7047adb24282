// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <sys/types.h>

#include <filesystem>
#include <optional>
#include <string>

#include "TestFiles.h"

namespace tarnwell::testing {

struct ProgramRun {
  bool stillRunning = false;  // after the start-up time
  int exitCode = -1;          // after SIGTERM; -1 when it had to be killed or was not started
  std::string messages;       // the message boxes it showed, one line each
  std::string output;
};

struct RunAs {
  uid_t uid;
  gid_t gid;
  gid_t group;  // the one supplementary group
};

// Starts the program offscreen with its own folder (no TARNWELL_HOME), lets it run for the
// start-up time and ends it as a desktop session would, with SIGTERM. The message boxes go to a
// file in scratch, which must be a folder that the user of asUser may write.
ProgramRun RunProgramBriefly(const std::filesystem::path& program,
                             const std::filesystem::path& scratch,
                             const std::optional<RunAs>& asUser = std::nullopt);

}  // namespace tarnwell::testing
