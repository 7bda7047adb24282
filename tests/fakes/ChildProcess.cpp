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

extern char** environ;

namespace tarnwell::testing {
namespace {

std::vector<char*> Pointers(std::vector<std::string>& texts) {
  std::vector<char*> p;
  for (std::string& t : texts) p.push_back(t.data());
  p.push_back(nullptr);
  return p;
}

}  // namespace

ChildProcess::~ChildProcess() {
  if (pid_ <= 0) return;
  ::kill(pid_, SIGKILL);
  ::waitpid(pid_, nullptr, 0);
}

bool ChildProcess::Start(const std::string& program, const std::vector<std::string>& args,
                         const std::vector<std::string>& env, const std::string& out) {
  // Everything the child needs is made before the fork: the test may run threads.
  std::vector<std::string> argTexts{program}, envTexts;
  argTexts.insert(argTexts.end(), args.begin(), args.end());
  const auto name = [](const std::string& entry) { return entry.substr(0, entry.find('=')); };
  for (char** e = environ; *e; ++e) {
    bool replaced = false;
    for (const std::string& x : env) replaced |= name(x) == name(*e);
    if (!replaced) envTexts.push_back(*e);
  }
  for (const std::string& x : env) {
    if (x.find('=') != std::string::npos) envTexts.push_back(x);
  }
  std::vector<char*> argv = Pointers(argTexts), envp = Pointers(envTexts);
  const int o = ::open(out.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
  const int in = ::open("/dev/null", O_RDONLY | O_CLOEXEC);
  if (o < 0 || in < 0) return false;
  pid_ = ::fork();
  if (pid_ == 0) {
    ::dup2(in, 0);
    ::dup2(o, 1);
    ::dup2(o, 2);
    ::execvpe(program.c_str(), argv.data(), envp.data());
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
