// SPDX-License-Identifier: GPL-3.0-or-later
#include "ChildProcess.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <fstream>
#include <thread>

#include "TempDir.h"
#include "TestFiles.h"

namespace tarnwell::testing {

ChildProcess::~ChildProcess() {
  if (pid_ <= 0) return;
  ::kill(pid_, SIGKILL);
  ::waitpid(pid_, nullptr, 0);
}

bool ChildProcess::Start(const std::string& program, const std::vector<std::string>& args,
                         const std::vector<std::string>& env, const std::string& out) {
  // Everything the child needs is made before the fork: the test may run threads. The program
  // is started through env(1), which sets its environment.
  std::vector<std::string> texts{"env"};
  for (const std::string& x : env) {
    if (x.find('=') == std::string::npos) texts.insert(texts.end(), {"-u", x});
  }
  for (const std::string& x : env) {
    if (x.find('=') != std::string::npos) texts.push_back(x);
  }
  texts.push_back(program);
  texts.insert(texts.end(), args.begin(), args.end());
  std::vector<char*> argv;
  for (std::string& t : texts) argv.push_back(t.data());
  argv.push_back(nullptr);
  const int o = ::open(out.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
  const int in = ::open("/dev/null", O_RDONLY | O_CLOEXEC);
  if (o < 0 || in < 0) return false;
  pid_ = ::fork();
  if (pid_ == 0) {
    ::dup2(in, 0);
    ::dup2(o, 1);
    ::dup2(o, 2);
    ::execvp("env", argv.data());
    ::_exit(127);
  }
  ::close(in);
  ::close(o);
  return pid_ > 0;
}

std::optional<int> ChildProcess::Wait(double timeout) {
  if (pid_ <= 0) return std::nullopt;
  const auto until = std::chrono::steady_clock::now() + std::chrono::duration<double>(timeout);
  int status = 0;
  while (::waitpid(pid_, &status, WNOHANG) == 0) {
    if (std::chrono::steady_clock::now() > until) return std::nullopt;
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
  }
  pid_ = -1;
  return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
}

void ChildProcess::Signal(int signal) {
  if (pid_ > 0) ::kill(pid_, signal);
}

bool ChildProcess::Catches(int signal) const {
  std::ifstream status("/proc/" + std::to_string(pid_) + "/status");
  for (std::string line; std::getline(status, line);) {
    if (line.rfind("SigCgt:", 0) == 0)
      return (std::stoull(line.substr(7), nullptr, 16) >> (signal - 1)) & 1;
  }
  return false;
}

ChildProcess::Result ChildProcess::Run(const std::vector<std::string>& argv, double timeout) {
  const TempDir dir;
  Result result;
  {
    ChildProcess child;
    if (child.Start(argv.at(0), {argv.begin() + 1, argv.end()}, {}, dir / "out")) {
      result.exitCode = child.Wait(timeout).value_or(-1);
    }
  }
  result.output = ReadFile(dir / "out");
  return result;
}

}  // namespace tarnwell::testing
