// SPDX-License-Identifier: GPL-3.0-or-later
#include <fcntl.h>
#include <gtest/gtest.h>
#include <poll.h>
#include <termios.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "ChildProcess.h"
#include "SimProcess.h"
#include "TempDir.h"
#include "TestFiles.h"
#include "sim/FrameLog.h"
#include "sim/FrameMaker.h"
#include "sim/SimOptions.h"

namespace tarnwell::testing {
namespace {

using Clock = std::chrono::steady_clock;
namespace fs = std::filesystem;

double Since(Clock::time_point start) {
  return std::chrono::duration<double>(Clock::now() - start).count();
}

bool LinkGone(const std::string& link) { return !fs::exists(fs::symlink_status(link)); }

// Reads the link as a program reads a serial port: raw, with nothing translated.
struct RawReader {
  explicit RawReader(const std::string& path)
      : fd(::open(path.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK)) {
    termios tio{};
    ::tcgetattr(fd, &tio);
    ::cfmakeraw(&tio);
    ::tcsetattr(fd, TCSANOW, &tio);
  }
  ~RawReader() {
    if (fd >= 0) ::close(fd);
  }

  // Reads until `frames` frames have arrived, the line hangs up or `timeout` seconds pass.
  void Read(std::size_t frames, double timeout) {
    const auto start = Clock::now();
    const auto ends = [&] {
      return static_cast<std::size_t>(std::count_if(
          bytes.begin(), bytes.end(), [](char c) { return c == '\r' || c == '\x03'; }));
    };
    while (ends() < frames && Since(start) < timeout) {
      pollfd p{fd, POLLIN, 0};
      if (::poll(&p, 1, 20) <= 0) continue;
      char buffer[4096];
      const ssize_t n = ::read(fd, buffer, sizeof buffer);
      if (n == 0 || (n < 0 && errno != EAGAIN)) {
        hungUp = true;
        return;
      }
      if (n < 0) continue;
      if (bytes.empty()) first = Clock::now();
      last = Clock::now();
      bytes.append(buffer, static_cast<std::size_t>(n));
    }
  }

  // Whole frames, cut at CR or ETX.
  std::vector<std::string> Frames() const {
    std::vector<std::string> frames{""};
    for (char c : bytes) {
      if (c == '\r' || c == '\x03') {
        frames.emplace_back();
      } else {
        frames.back() += c;
      }
    }
    frames.pop_back();
    return frames;
  }
  double Seconds() const { return std::chrono::duration<double>(last - first).count(); }

  int fd;
  std::string bytes;
  bool hungUp = false;
  Clock::time_point first, last;
};

class SimulatorTest : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!fs::exists(SimulatorPath())) GTEST_SKIP() << "no simulator at " << SimulatorPath();
  }
  TempDir dir;
  SimProcess sim{dir.Path()};
};

TEST_F(SimulatorTest, FramesPacedAtTheLineSpeedAndLoggedAsSent) {
  ASSERT_TRUE(sim.Start({"--baud", "921600", "--decimals", "3", "--count", "5000", "--stay"}));
  RawReader reader(sim.link);
  reader.Read(5000, 5);
  const auto frames = reader.Frames();
  ASSERT_EQ(frames.size(), 5000u);
  for (const std::string& f : frames) {
    ASSERT_TRUE(f.size() == 8 && f[0] == '+' && f[4] == '.') << f;
    ASSERT_NEAR(Number(f), 100.0, 0.0015) << f;
  }
  // 9 characters a frame at 92160 characters a second; loose, the machine is shared.
  const double expected = 5000 * 9 / 92160.0;
  EXPECT_GT(reader.Seconds(), expected * 0.6);
  EXPECT_LT(reader.Seconds(), expected * 3);

  EXPECT_EQ(sim.Stop(), 0);
  EXPECT_TRUE(LinkGone(sim.link));
  EXPECT_EQ(sim.Logged(), frames);
  EXPECT_EQ(sim.Stats()["frames_written"], 5000);
  EXPECT_EQ(sim.Stats()["bytes_written"], 5000 * 9);
}

// What a reader has not taken when the device goes is lost with it, and the counts say how much:
// every logged frame was either read or is counted as taken back.
TEST_F(SimulatorTest, FramesUnreadWhenUnpluggedAreCountedAsTakenBack) {
  ASSERT_TRUE(sim.Start({"--baud", "9600", "--pattern", "count", "--value", "7", "--decimals", "0",
                         "--width", "8", "--zeros", "--wait", "--unplug-every", "0.6",
                         "--unplug-for", "30"}));
  std::vector<std::string> read;
  {
    RawReader reader(sim.link);
    reader.Read(20, 2);
    read = reader.Frames();
    // Stops reading: some 40 frames pile up in the device until it is pulled.
    ASSERT_TRUE(WaitUntil([&] { return LinkGone(sim.link); }, 3));
    reader.Read(1000, 0.5);
    EXPECT_TRUE(reader.hungUp);
    EXPECT_EQ(reader.Frames().size(), read.size());
  }
  EXPECT_EQ(sim.Stop(), 0);
  const auto log = sim.Logged();
  auto stats = sim.Stats();
  ASSERT_GE(read.size(), 20u);
  EXPECT_GE(stats["frames_taken_back"], 20);
  EXPECT_EQ(static_cast<long long>(read.size()) + stats["frames_taken_back"],
            stats["frames_written"]);
  ASSERT_EQ(static_cast<long long>(log.size()), stats["frames_written"]);
  EXPECT_TRUE(std::equal(read.begin(), read.end(), log.begin()));
  for (std::size_t i = 0; i < log.size(); ++i) {
    ASSERT_EQ(log[i],
              "+" + std::string(8 - std::to_string(7 + i).size(), '0') + std::to_string(7 + i));
  }
}

TEST_F(SimulatorTest, CommandLineAndTheLinkPath) {
  const auto run = [&](const std::vector<std::string>& args) {
    ChildProcess child;
    child.Start(SimulatorPath(), args, {}, dir / "out", dir / "err");
    return child.Wait(5).value_or(-1);
  };
  EXPECT_EQ(run({"--help"}), 0);
  for (const char* option : {"--link", "--baud", "--terminator", "--pattern", "--log", "--stats"}) {
    EXPECT_NE(ReadFile(dir / "out").find(option), std::string::npos) << option;
  }
  EXPECT_EQ(run({"--link", dir / "x", "--baud", "300"}), 2);
  EXPECT_NE(ReadFile(dir / "err").find("--baud"), std::string::npos);
  EXPECT_EQ(run({"--link", dir / "x", "--terminator", "lf"}), 2);
  EXPECT_EQ(run({"--baud", "9600"}), 2);
  EXPECT_EQ(run({"--link", dir / "x", "--frobnicate"}), 2);
  EXPECT_TRUE(LinkGone(dir / "x"));

  // A file where the link should be is somebody's data: left alone.
  WriteFile(dir / "file", "keep");
  EXPECT_EQ(run({"--link", dir / "file", "--duration", "0.1"}), 1);
  EXPECT_EQ(ReadFile(dir / "file"), "keep");

  // A link left behind by a run that was killed is replaced.
  fs::create_directories(dir / "ports");
  fs::create_symlink("/dev/pts/does-not-exist", sim.link);
  ASSERT_TRUE(sim.Start({"--baud", "9600"}));
  EXPECT_TRUE(fs::read_symlink(sim.link).string().starts_with("/dev/pts/"));
  EXPECT_TRUE(fs::exists(sim.link));
  EXPECT_NE(ReadFile(dir / "sim.out").find("READY " + sim.link), std::string::npos);
  // Nobody listening: nothing is written, and a signal still ends the run at once.
  EXPECT_EQ(sim.Stop(), 0);
  EXPECT_TRUE(LinkGone(sim.link));
  EXPECT_EQ(sim.Stats()["frames_written"], 0);
}

TEST(SimulatorFrames, NumbersFramesAndLogLines) {
  using sim::FrameMaker;
  EXPECT_EQ(FrameMaker::SignedNumber(123.45, 2, 7, false), "+ 123.45");
  EXPECT_EQ(FrameMaker::SignedNumber(12.34, 2, 7, true), "+0012.34");
  EXPECT_EQ(FrameMaker::SignedNumber(-0.004, 2, 5, false), "+ 0.00");

  sim::SimOptions o;
  o.frame = sim::FrameKind::kFixed;
  o.decimals = 1;
  FrameMaker fixed(o);
  // The status shows the frame after each step.
  EXPECT_EQ(fixed.Frame(1234.5), "US,GS,+  1234.5kg");
  EXPECT_EQ(fixed.Frame(1234.54), "ST,GS,+  1234.5kg");
  EXPECT_EQ(fixed.Frame(1234.56), "US,GS,+  1234.6kg");

  EXPECT_EQ(sim::FrameLog::Printable(std::string("a\\b\r\n\x03\xff ~", 9)),
            "a\\\\b\\x0D\\x0A\\x03\\xFF ~");
  std::string unescaped;
  EXPECT_TRUE(sim::Unescape("\\x02A\\r\\\\", unescaped));
  EXPECT_EQ(unescaped,
            "\x02"
            "A\r\\");
  EXPECT_FALSE(sim::Unescape("\\x2", unescaped));
}

}  // namespace
}  // namespace tarnwell::testing
