// SPDX-License-Identifier: GPL-3.0-or-later
#include "ProgramRun.h"

#include <unistd.h>

#include <csignal>
#include <thread>

#include "ChildProcess.h"

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
  const std::vector<std::string> env{
      "QT_QPA_PLATFORM=offscreen", "TARNWELL_MESSAGE_LOG=" + messages.string(), "TARNWELL_HOME",
      "HOME=" + scratch.string(), "XDG_RUNTIME_DIR=" + (scratch / "runtime").string()};
  std::vector<std::string> argv;
  if (asUser) {
    argv = {"setpriv", "--reuid=" + std::to_string(asUser->uid),
            "--regid=" + std::to_string(asUser->gid), "--groups=" + std::to_string(asUser->group),
            "--"};
  }
  argv.push_back(program.string());

  ProgramRun run;
  {
    const std::string output = (scratch / "output.txt").string();
    ChildProcess child;
    if (!child.Start(argv[0], {argv.begin() + 1, argv.end()}, env, output, output)) return run;
    std::this_thread::sleep_for(std::chrono::seconds(3));
    run.stillRunning = child.Alive();
    child.Signal(SIGTERM);
    run.exitCode = child.Wait(10).value_or(-1);
    run.output = ReadFile(output);
  }
  run.messages = ReadFile(messages);
  return run;
}

}  // namespace tarnwell::testing
