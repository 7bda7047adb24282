// SPDX-License-Identifier: GPL-3.0-or-later
#include "ChildProcess.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <fstream>
#include <iterator>
#include <thread>

extern char** environ;

namespace tarnwell::testing {
namespace {

std::vector<std::string> Environment(const std::vector<std::string>& extra) {
  std::vector<std::string> env;
  for (char** e = environ; *e; ++e) {
    const std::string entry = *e;
    const std::string name = entry.substr(0, entry.find('='));
    bool replaced = false;
    for (const std::string& x : extra) replaced |= x.substr(0, x.find('=')) == name;
    if (!replaced) env.push_back(entry);
  }
  for (const std::string& x : extra) {
    if (x.find('=') != std::string::npos) env.push_back(x);
  }
  return env;
}

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
                         const std::vector<std::string>& env, const std::string& out,
                         const std::string& err) {
  // Everything the child needs is made before the fork: the test may run threads.
  std::vector<std::string> argTexts{program};
  argTexts.insert(argTexts.end(), args.begin(), args.end());
  std::vector<std::string> envTexts = Environment(env);
  std::vector<char*> argv = Pointers(argTexts);
  std::vector<char*> envp = Pointers(envTexts);
  const int o = ::open(out.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
  const int e = err == out ? ::fcntl(o, F_DUPFD_CLOEXEC, 0)
                           : ::open(err.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
  const int in = ::open("/dev/null", O_RDONLY | O_CLOEXEC);
  if (o < 0 || e < 0 || in < 0) return false;
  pid_ = ::fork();
  if (pid_ == 0) {
    ::dup2(in, 0);
    ::dup2(o, 1);
    ::dup2(e, 2);
    ::execvpe(program.c_str(), argv.data(), envp.data());
    ::_exit(127);
  }
  ::close(in);
  ::close(o);
  ::close(e);
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

bool ChildProcess::Alive() {
  int status = 0;
  if (pid_ > 0 && ::waitpid(pid_, &status, WNOHANG) == pid_) pid_ = -1;
  return pid_ > 0;
}

void ChildProcess::Signal(int signal) {
  if (pid_ > 0) ::kill(pid_, signal);
}

bool ChildProcess::Catches(int signal) const {
  std::ifstream status("/proc/" + std::to_string(pid_) + "/status");
  for (std::string line; std::getline(status, line);) {
    if (line.rfind("SigCgt:", 0) != 0) continue;
    const unsigned long long mask = std::stoull(line.substr(7), nullptr, 16);
    return (mask >> (signal - 1)) & 1;
  }
  return false;
}

ChildProcess::Result ChildProcess::Run(const std::vector<std::string>& argv, double timeout) {
  char path[] = "/tmp/tarnwell-run-XXXXXX";
  const int fd = ::mkstemp(path);
  if (fd < 0) return {};
  ::close(fd);
  Result result;
  {
    ChildProcess child;
    if (child.Start(argv.at(0), {argv.begin() + 1, argv.end()}, {}, path, path)) {
      result.exitCode = child.Wait(timeout).value_or(-1);
    }
  }
  std::ifstream in(path, std::ios::binary);
  result.output.assign(std::istreambuf_iterator<char>(in), {});
  ::unlink(path);
  return result;
}

}  // namespace tarnwell::testing
