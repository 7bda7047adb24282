// SPDX-License-Identifier: GPL-3.0-or-later
#include <signal.h>
#include <sys/signalfd.h>

#include <cstdio>
#include <string>

#include "sim/SimOptions.h"
#include "sim/posix/Simulator.h"

int main(int argc, char* argv[]) {
  using namespace tarnwell::sim;
  SimOptions options;
  std::string error;
  switch (ParseSimOptions(argc, argv, options, error)) {
    case ParseResult::kHelp:
      std::fputs(SimUsage().c_str(), stdout);
      return 0;
    case ParseResult::kError:
      std::fprintf(stderr, "indicator_sim: %s\nTry indicator_sim --help.\n", error.c_str());
      return 2;
    case ParseResult::kRun:
      break;
  }
  // The signals that end the run arrive as readable data, so a wait wakes for them at once.
  sigset_t stopping;
  sigemptyset(&stopping);
  sigaddset(&stopping, SIGTERM);
  sigaddset(&stopping, SIGINT);
  sigaddset(&stopping, SIGHUP);
  sigprocmask(SIG_BLOCK, &stopping, nullptr);
  signal(SIGPIPE, SIG_IGN);
  const int signalFd = signalfd(-1, &stopping, SFD_CLOEXEC);
  if (signalFd < 0) {
    std::perror("indicator_sim: signalfd");
    return 1;
  }
  Simulator simulator(options, signalFd);
  return simulator.Run();
}
