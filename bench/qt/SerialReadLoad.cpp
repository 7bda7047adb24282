// SPDX-License-Identifier: GPL-3.0-or-later
// Reads a serial line through the program's serial control, handing over as while recording,
// until a count of frames has come (or the line has been quiet for 3 s: frames were lost), and
// prints what the process spent on it: the Linux half of scripts/measure-serial-cpu.sh.
//   serial_read_load DATA_FOLDER PORT FRAMES
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTimer>
#include <algorithm>
#include <cstdio>
#include <ctime>
#include <string>

#include "platform/posix/PosixClock.h"
#include "platform/qt/QtSerialPort.h"

int main(int argc, char* argv[]) {
  QCoreApplication app(argc, argv);
  if (argc != 4) {
    std::fprintf(stderr, "usage: serial_read_load DATA_FOLDER PORT FRAMES\n");
    return 2;
  }
  const long wanted = std::stol(argv[3]);
  tarnwell::PosixClock clock;
  tarnwell::QtSerialPort port(argv[1], clock);
  long frames = 0, reads = 0, chars = 0;
  std::clock_t cpuFrom = 0;
  QElapsedTimer wall, quiet;
  port.SetMaxWait(8);
  port.SetOnComm([&] {
    const tarnwell::Received in = port.Input();
    if (!wall.isValid()) wall.start(), cpuFrom = std::clock();
    quiet.start();
    frames += std::count(in.chars.begin(), in.chars.end(), '\r');
    reads += static_cast<long>(in.reads.size());
    chars += static_cast<long>(in.chars.size());
    if (frames >= wanted) app.quit();
  });
  port.SetCommPort(static_cast<std::int16_t>(std::stoi(argv[2])));
  port.SetSettings("921600,n,8,1");
  if (const auto error = port.SetPortOpen(true)) {
    std::fprintf(stderr, "%d: %s\n", error->number, error->description.c_str());
    return 1;
  }
  QTimer idle;
  QObject::connect(&idle, &QTimer::timeout, [&] {
    if (quiet.isValid() && quiet.elapsed() > 3000) app.exit(3);
  });
  idle.start(500);
  const int code = app.exec();
  const double cpu = double(std::clock() - cpuFrom) / CLOCKS_PER_SEC;
  std::printf("frames=%ld reads=%ld chars=%ld wall=%.3f cpu=%.3f\n", frames, reads, chars,
              wall.elapsed() / 1000.0, cpu);
  return code;
}
