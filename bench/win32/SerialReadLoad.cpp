// SPDX-License-Identifier: GPL-3.0-or-later
// Reads a COM port through the program's serial control, handing over as while recording,
// until a count of frames has come (or the line has been quiet for 3 s: frames were lost), and
// prints what the process spent on it: the Windows half of scripts/measure-serial-cpu.sh.
//   serial_read_load PORT FRAMES
#include <windows.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <string>

#include "platform/win32/MessageWindow.h"
#include "platform/win32/Win32SerialPort.h"

namespace {

struct SystemClock : tarnwell::Clock {
  tarnwell::Instant Now() const override {
    return std::chrono::floor<std::chrono::milliseconds>(std::chrono::system_clock::now());
  }
  tarnwell::DateTime Local(tarnwell::Instant) const override { return {}; }
  std::int64_t SteadyMs() const override { return static_cast<std::int64_t>(::GetTickCount64()); }
};

double CpuSeconds() {
  FILETIME created, ended, kernel, user;
  ::GetProcessTimes(::GetCurrentProcess(), &created, &ended, &kernel, &user);
  const auto seconds = [](const FILETIME& t) {
    return double((ULONGLONG{t.dwHighDateTime} << 32) | t.dwLowDateTime) / 1e7;
  };
  return seconds(kernel) + seconds(user);
}

}  // namespace

int main(int argc, char* argv[]) {
  if (argc != 3) {
    std::fprintf(stderr, "usage: serial_read_load PORT FRAMES\n");
    return 2;
  }
  const long wanted = std::stol(argv[2]);
  tarnwell::MessageWindow window;
  SystemClock clock;
  tarnwell::Win32SerialPort port(window, clock);
  long frames = 0, reads = 0, chars = 0;
  double cpuFrom = 0;
  ULONGLONG wallFrom = 0, lastMs = 0;
  port.SetMaxWait(8);
  port.SetOnComm([&] {
    const tarnwell::Received in = port.Input();
    if (wallFrom == 0) wallFrom = ::GetTickCount64(), cpuFrom = CpuSeconds();
    lastMs = ::GetTickCount64();
    frames += std::count(in.chars.begin(), in.chars.end(), '\r');
    reads += static_cast<long>(in.reads.size());
    chars += static_cast<long>(in.chars.size());
  });
  port.SetCommPort(static_cast<std::int16_t>(std::stoi(argv[1])));
  port.SetSettings("921600,n,8,1");
  if (const auto error = port.SetPortOpen(true)) {
    std::fprintf(stderr, "%d: %s\n", error->number, error->description.c_str());
    return 1;
  }
  const bool quiet =
      !tarnwell::MessageWindow::RunUntil(
          [&] { return frames >= wanted || (lastMs != 0 && ::GetTickCount64() - lastMs > 3000); },
          600000) ||
      frames < wanted;
  const double cpu = CpuSeconds() - cpuFrom;
  std::printf("frames=%ld reads=%ld chars=%ld wall=%.3f cpu=%.3f\n", frames, reads, chars,
              double(::GetTickCount64() - wallFrom) / 1000.0, cpu);
  return quiet ? 3 : 0;
}
