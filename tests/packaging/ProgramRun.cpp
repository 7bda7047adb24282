// SPDX-License-Identifier: GPL-3.0-or-later
#include "ProgramRun.h"

#include <unistd.h>

#include <csignal>
#include <thread>

#include "ChildProcess.h"
#include "TempFolder.h"

namespace tarnwell::testing {

ProgramRun RunProgramBriefly(const std::filesystem::path& program,
                             const std::filesystem::path& scratch,
                             const std::optional<RunAs>& asUser) {
  const std::filesystem::path messages = scratch / "messages.log";
  std::filesystem::create_directories(scratch / "runtime");
  std::filesystem::permissions(scratch / "runtime", std::filesystem::perms::owner_all);
  if (asUser && (::chown(scratch.c_str(), asUser->uid, asUser->gid) != 0 ||
                 ::chown((scratch / "runtime").c_str(), asUser->uid, asUser->gid) != 0)) {
    return {};
  }
  ChildProcess::EnvChanges env{{"QT_QPA_PLATFORM", "offscreen"},
                               {"TARNWELL_MESSAGE_LOG", messages.string()},
                               {"TARNWELL_HOME", std::nullopt},
                               {"HOME", scratch.string()},
                               {"XDG_RUNTIME_DIR", (scratch / "runtime").string()}};
  std::vector<std::string> argv;
  if (asUser) {
    argv = {"setpriv", "--reuid=" + std::to_string(asUser->uid),
            "--regid=" + std::to_string(asUser->gid), "--groups=" + std::to_string(asUser->group),
            "--"};
  }
  argv.push_back(program.string());

  ProgramRun run;
  {
    ChildProcess child(argv, env, (scratch / "output.txt").string());
    if (!child.Started()) return run;
    std::this_thread::sleep_for(std::chrono::seconds(3));
    run.stillRunning = child.Running();
    child.Signal(SIGTERM);
    const ChildProcess::Result result = child.Wait(std::chrono::seconds(10));
    run.exitCode = result.exitCode;
    run.output = result.output;
  }
  run.messages = ReadFile(messages);
  return run;
}

}  // namespace tarnwell::testing
