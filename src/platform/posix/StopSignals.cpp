// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/posix/StopSignals.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/socket.h>
#include <unistd.h>

#include <initializer_list>

namespace tarnwell {
namespace {

int gSignalSocket[2] = {-1, -1};

void OnSignal(int) {
  const char byte = 1;
  [[maybe_unused]] const auto n = ::write(gSignalSocket[1], &byte, 1);
}

}  // namespace

void OpenStandardDescriptors() {
  for (int fd = 0; fd <= 2; ++fd) {
    if (::fcntl(fd, F_GETFD) == -1 && ::open("/dev/null", O_RDWR) == -1) return;
  }
}

int CatchTerminationSignals() {
  if (gSignalSocket[0] >= 0) return gSignalSocket[0];
  if (::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, gSignalSocket) != 0) return -1;
  struct sigaction sa {};
  sa.sa_handler = OnSignal;
  sigemptyset(&sa.sa_mask);
  sa.sa_flags = SA_RESTART;
  for (const int signal : {SIGTERM, SIGINT, SIGHUP}) sigaction(signal, &sa, nullptr);
  return gSignalSocket[0];
}

void TakeTerminationRequest(int fd) {
  char byte = 0;
  [[maybe_unused]] const auto n = ::read(fd, &byte, 1);
}

}  // namespace tarnwell
