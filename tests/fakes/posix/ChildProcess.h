// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <optional>

#include "TempDir.h"
#include "TestFiles.h"

namespace tarnwell::testing {

// A program started by a test, killed if still running when the object goes.
class ChildProcess {
 public:
  ChildProcess() = default;
  ChildProcess(const ChildProcess&) = delete;
  ChildProcess& operator=(const ChildProcess&) = delete;
  ~ChildProcess() {
    if (pid_ > 0 && ::kill(pid_, SIGKILL) == 0) ::waitpid(pid_, nullptr, 0);
  }

  // Starts `program` (in PATH) with `args`, `env`'s NAME=VALUE added, output and errors to `out`;
  // without `out` the standard streams are closed, as some launchers start programs.
  bool Start(const std::string& program, const std::vector<std::string>& args,
             const std::vector<std::string>& env, const std::string& out) {
    std::vector<std::string> texts{"env"};
    texts.insert(texts.end(), env.begin(), env.end()), texts.push_back(program);
    texts.insert(texts.end(), args.begin(), args.end());
    std::vector<char*> argv;
    for (std::string& t : texts) argv.push_back(t.data());
    argv.push_back(nullptr);
    posix_spawn_file_actions_t files;
    posix_spawn_file_actions_init(&files);
    if (out.empty()) {
      for (int fd : {0, 1, 2}) posix_spawn_file_actions_addclose(&files, fd);
    } else {
      posix_spawn_file_actions_addopen(&files, 0, "/dev/null", O_RDONLY, 0);
      posix_spawn_file_actions_addopen(&files, 1, out.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
      posix_spawn_file_actions_adddup2(&files, 1, 2);
    }
    if (::posix_spawnp(&pid_, "env", &files, nullptr, argv.data(), environ) != 0) pid_ = -1;
    posix_spawn_file_actions_destroy(&files);
    return pid_ > 0;
  }

  // The exit code (128 + a signal), or nothing when it still runs after `timeout` seconds.
  std::optional<int> Wait(double timeout) {
    int status = 0;
    if (pid_ <= 0 || !WaitUntil([&] { return ::waitpid(pid_, &status, WNOHANG) != 0; }, timeout))
      return std::nullopt;
    pid_ = -1;
    return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
  }
  void Signal(int signal) {
    if (pid_ > 0) ::kill(pid_, signal);
  }
  // True once the process has a handler for `signal` installed.
  bool Catches(int signal) const {
    const std::string status = ReadFile("/proc/" + std::to_string(pid_) + "/status");
    const std::size_t at = status.find("SigCgt:");
    return at != std::string::npos &&
           (std::stoull(status.substr(at + 7), nullptr, 16) >> (signal - 1)) & 1;
  }
  // What the process's descriptor `fd` leads to.
  std::string Descriptor(int fd) const {
    return std::filesystem::read_symlink("/proc/" + std::to_string(pid_) + "/fd/" +
                                         std::to_string(fd));
  }
  // True while one of the process's descriptors leads to `path` (a device: links resolved).
  bool Holds(const std::string& path) const {
    std::error_code ec;
    const auto wanted = std::filesystem::canonical(path, ec);
    for (const auto& fd :
         std::filesystem::directory_iterator("/proc/" + std::to_string(pid_) + "/fd", ec))
      if (std::filesystem::read_symlink(fd.path(), ec) == wanted) return true;
    return false;
  }

  struct Result {
    int exitCode = -1;   // -1 when it did not end within two minutes
    std::string output;  // and errors
  };
  // Runs `argv` to its end, with the test's environment changed by `env` as for Start.
  static Result Run(const std::vector<std::string>& argv,
                    const std::vector<std::string>& env = {}) {
    const TempDir dir;
    ChildProcess child;
    const bool started = child.Start(argv.at(0), {argv.begin() + 1, argv.end()}, env, dir / "out");
    return {started ? child.Wait(120).value_or(-1) : -1, ReadFile(dir / "out")};
  }

 private:
  pid_t pid_ = -1;
};

// Root opens what the exclusive mode and file rights keep from everybody else.
inline bool RunningAsRoot() { return ::geteuid() == 0; }

// The simulator the build made, unless TARNWELL_SIM names another.
inline std::string SimulatorPath() { return getenv("TARNWELL_SIM") ? getenv("TARNWELL_SIM") : ""; }

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
