// SPDX-License-Identifier: GPL-3.0-or-later
#include <fcntl.h>
#include <gtest/gtest.h>
#include <poll.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <termios.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <map>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "sim/FrameLog.h"
#include "sim/FrameMaker.h"
#include "sim/SimOptions.h"
#include "sim/ValuePattern.h"

namespace tarnwell::testing {
namespace {

using Clock = std::chrono::steady_clock;
namespace fs = std::filesystem;

double Since(Clock::time_point start) {
  return std::chrono::duration<double>(Clock::now() - start).count();
}

std::string SimPath() {
  const char* path = std::getenv("TARNWELL_SIM");
  return path ? path : "";
}

// A reading as the indicator writes it: the sign may stand apart from the digits.
double Number(std::string text) {
  std::erase(text, ' ');
  return std::stod(text);
}

// A sign, blanks, digits and, unless `decimals` is 0, a point and that many digits.
bool IsReading(const std::string& text, int decimals) {
  if (text.empty() || (text[0] != '+' && text[0] != '-')) return false;
  const std::size_t digits = text.find_first_not_of(' ', 1);
  const std::size_t point = decimals > 0 ? text.size() - decimals - 1 : text.size();
  if (digits == std::string::npos || digits >= point) return false;
  const auto isDigit = [](char c) { return c >= '0' && c <= '9'; };
  for (std::size_t i = digits; i < text.size(); ++i) {
    if (i == point ? text[i] != '.' : !isDigit(text[i])) return false;
  }
  return true;
}

class TempDir {
 public:
  TempDir() {
    char name[] = "/tmp/tarnwell-sim-XXXXXX";
    path_ = ::mkdtemp(name) ? name : "";
  }
  ~TempDir() {
    std::error_code ec;
    if (!path_.empty()) fs::remove_all(path_, ec);
  }
  std::string operator/(const std::string& name) const { return path_ + "/" + name; }

 private:
  std::string path_;
};

std::string ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream text;
  text << in.rdbuf();
  return text.str();
}

std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  return lines;
}

std::map<std::string, long long> Stats(const std::string& path) {
  std::map<std::string, long long> stats;
  for (const std::string& line : Lines(ReadFile(path))) {
    const auto eq = line.find('=');
    if (eq != std::string::npos) stats[line.substr(0, eq)] = std::atoll(line.c_str() + eq + 1);
  }
  return stats;
}

// The simulator as a child process, its link, log, counts and ready file in `dir`.
class SimRun {
 public:
  SimRun(const TempDir& dir, std::vector<std::string> args)
      : link(dir / "ports/COM1"),
        log(dir / "sim.log"),
        stats(dir / "stats"),
        ready_(dir / "ready") {
    for (const char* a : {"--link", link.c_str(), "--log", log.c_str(), "--stats", stats.c_str(),
                          "--ready", ready_.c_str()}) {
      args.push_back(a);
    }
    fs::remove(ready_);
    pid_ = Spawn(args, dir / "out", dir / "err");
  }
  ~SimRun() {
    if (pid_ > 0) {
      ::kill(pid_, SIGKILL);
      ::waitpid(pid_, nullptr, 0);
    }
  }

  static pid_t Spawn(const std::vector<std::string>& args, const std::string& out,
                     const std::string& err) {
    const pid_t pid = ::fork();
    if (pid == 0) {
      const int o = ::open(out.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
      const int e = ::open(err.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
      ::dup2(o, 1);
      ::dup2(e, 2);
      const std::string sim = SimPath();
      std::vector<char*> argv{const_cast<char*>(sim.c_str())};
      for (const std::string& a : args) argv.push_back(const_cast<char*>(a.c_str()));
      argv.push_back(nullptr);
      ::execv(sim.c_str(), argv.data());
      ::_exit(127);
    }
    return pid;
  }

  // Exit status, or -1 when the process is still running after `timeout` seconds.
  static int WaitFor(pid_t pid, double timeout) {
    const auto start = Clock::now();
    int status = 0;
    while (::waitpid(pid, &status, WNOHANG) == 0) {
      if (Since(start) > timeout) return -1;
      std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
  }

  bool Ready() {
    const auto start = Clock::now();
    while (!fs::exists(ready_)) {
      if (Since(start) > 5) return false;
      std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    return ReadFile(ready_) == link + "\n";
  }

  int Stop() {
    ::kill(pid_, SIGTERM);
    return Wait(5);
  }
  int Wait(double timeout) {
    const int code = WaitFor(pid_, timeout);
    if (code >= 0) pid_ = -1;
    return code;
  }

  const std::string link, log, stats;

 private:
  std::string ready_;
  pid_t pid_ = -1;
};

// Reads the link as a program reads a serial port: raw, with nothing translated.
class RawReader {
 public:
  ~RawReader() { Close(); }
  bool Open(const std::string& path) {
    fd_ = ::open(path.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK);
    if (fd_ < 0) return false;
    termios tio{};
    ::tcgetattr(fd_, &tio);
    ::cfmakeraw(&tio);
    ::tcsetattr(fd_, TCSANOW, &tio);
    hungUp = false;
    return true;
  }
  void Close() {
    if (fd_ >= 0) ::close(fd_);
    fd_ = -1;
  }

  // Reads until `done` holds for what arrived, the line hangs up or `timeout` seconds pass.
  void ReadUntil(const std::function<bool(const std::string&)>& done, double timeout) {
    const auto start = Clock::now();
    while (!done(bytes) && Since(start) < timeout) {
      pollfd p{fd_, POLLIN, 0};
      if (::poll(&p, 1, 20) <= 0) continue;
      char buffer[4096];
      const ssize_t n = ::read(fd_, buffer, sizeof buffer);
      if (n <= 0) {
        if (n == 0 || errno != EAGAIN) {
          hungUp = true;
          return;
        }
        continue;
      }
      if (bytes.empty()) first = Clock::now();
      last = Clock::now();
      bytes.append(buffer, static_cast<std::size_t>(n));
      ++reads;
    }
  }
  void ReadFor(double seconds) {
    ReadUntil([](const std::string&) { return false; }, seconds);
  }

  double Seconds() const { return std::chrono::duration<double>(last - first).count(); }

  std::string bytes;
  int reads = 0;
  bool hungUp = false;
  Clock::time_point first, last;

 private:
  int fd_ = -1;
};

auto FramesArrived(std::size_t count) {
  return [count](const std::string& bytes) {
    return static_cast<std::size_t>(std::count_if(bytes.begin(), bytes.end(), [](char c) {
             return c == '\r' || c == '\x03';
           })) >= count;
  };
}

// Whole frames, cut at CR or ETX; a CR LF line's LF opens the next frame and is dropped here.
std::vector<std::string> Frames(const std::string& bytes, bool crlf = false) {
  std::vector<std::string> frames;
  std::string frame;
  for (char c : bytes) {
    if (c == '\r' || c == '\x03') {
      frames.push_back(frame);
      frame.clear();
    } else if (!(crlf && c == '\n' && frame.empty())) {
      frame += c;
    }
  }
  return frames;
}

class SimulatorTest : public ::testing::Test {
 protected:
  void SetUp() override {
    if (SimPath().empty() || !fs::exists(SimPath())) {
      GTEST_SKIP() << "TARNWELL_SIM names no simulator";
    }
  }
  TempDir dir;
};

TEST_F(SimulatorTest, PlainFramesPacedAtTheLineSpeedAndLoggedAsSent) {
  {
    SimRun sim(dir, {"--baud", "921600", "--decimals", "3", "--count", "5000", "--stay"});
    ASSERT_TRUE(sim.Ready());
    RawReader reader;
    ASSERT_TRUE(reader.Open(sim.link));
    reader.ReadUntil(FramesArrived(5000), 5);
    const auto frames = Frames(reader.bytes);
    ASSERT_EQ(frames.size(), 5000u);
    for (const std::string& f : frames) {
      ASSERT_TRUE(IsReading(f, 3)) << f;
      ASSERT_EQ(f.size(), 8u) << f;
      ASSERT_NEAR(Number(f), 100.0, 0.0015) << f;
    }
    // 9 characters a frame at 92160 characters a second; loose, the machine is shared.
    const double expected = 5000 * 9 / 92160.0;
    EXPECT_GT(reader.Seconds(), expected * 0.6);
    EXPECT_LT(reader.Seconds(), expected * 3);
    EXPECT_EQ(reader.bytes.size(), 5000u * 9);

    EXPECT_EQ(sim.Stop(), 0);
    EXPECT_FALSE(fs::exists(fs::symlink_status(sim.link)));
    EXPECT_EQ(Lines(ReadFile(sim.log)), frames);
    EXPECT_EQ(Stats(sim.stats)["frames_written"], 5000);
    EXPECT_EQ(Stats(sim.stats)["bytes_written"], 5000 * 9);
  }
  {
    // A slow line gets its characters a few at a time, not a frame's worth in one go.
    SimRun sim(dir, {"--baud", "4800", "--count", "30", "--zeros", "--width", "6"});
    ASSERT_TRUE(sim.Ready());
    RawReader reader;
    ASSERT_TRUE(reader.Open(sim.link));
    reader.ReadUntil(FramesArrived(30), 5);
    ASSERT_EQ(Frames(reader.bytes).size(), 30u);
    const std::string zeros = Frames(reader.bytes)[0];
    EXPECT_TRUE(IsReading(zeros, 2) && zeros.size() == 7 && zeros[1] != ' ') << zeros;
    const double expected = 30 * 8 / 480.0;
    EXPECT_GT(reader.Seconds(), expected * 0.7);
    EXPECT_LT(reader.Seconds(), expected * 2);
    EXPECT_GT(reader.reads, 45);
    // Without --stay the run ends by itself once its reader has everything.
    EXPECT_EQ(sim.Wait(5), 0);
    EXPECT_FALSE(fs::exists(fs::symlink_status(sim.link)));
  }
}

TEST_F(SimulatorTest, FixedFramesWithStatusOnPlateausAndTheirTerminators) {
  {
    SimRun sim(
        dir, {"--baud",  "115200",  "--frame",    "fixed",  "--terminator", "crlf",     "--pattern",
              "plateau", "--value", "1000",       "--step", "250",          "--levels", "3",
              "--hold",  "0.15",    "--decimals", "1",      "--count",      "600",      "--stay"});
    ASSERT_TRUE(sim.Ready());
    RawReader reader;
    ASSERT_TRUE(reader.Open(sim.link));
    reader.ReadUntil(FramesArrived(600), 5);
    ASSERT_NE(reader.bytes.find("\r\n"), std::string::npos);
    EXPECT_NE(reader.bytes[0], '\n');
    EXPECT_EQ(reader.bytes.find("\r\r"), std::string::npos);
    const auto frames = Frames(reader.bytes, true);
    ASSERT_EQ(frames.size(), 600u);
    int steps = 0;
    std::string last;
    for (const std::string& f : frames) {
      ASSERT_EQ(f.size(), 17u) << f;
      ASSERT_TRUE((f.starts_with("ST,GS,") || f.starts_with("US,GS,")) && f.ends_with("kg") &&
                  IsReading(f.substr(6, 9), 1))
          << f;
      const std::string number = f.substr(6, 9);
      const double value = Number(number);
      EXPECT_TRUE(value == 1000 || value == 1250 || value == 1500) << f;
      // A plateau holds the reading exactly; the status shows the frame after each step.
      if (!last.empty()) {
        EXPECT_EQ(f.substr(0, 2), number == last ? "ST" : "US") << f;
        if (number != last) ++steps;
      }
      last = number;
    }
    // 600 frames of 19 characters take about 1 s: some 6 plateaus of 0.15 s.
    EXPECT_GE(steps, 3);
    EXPECT_LE(steps, 12);
    EXPECT_EQ(sim.Stop(), 0);
    EXPECT_EQ(Lines(ReadFile(sim.log)), frames);
  }
  {
    SimRun sim(dir, {"--baud", "57600", "--terminator", "etx", "--count", "20", "--prefix", "\\x02",
                     "--decimals", "0", "--value", "-42", "--noise", "0"});
    ASSERT_TRUE(sim.Ready());
    RawReader reader;
    ASSERT_TRUE(reader.Open(sim.link));
    reader.ReadUntil(FramesArrived(20), 5);
    EXPECT_EQ(reader.bytes.find('\r'), std::string::npos);
    const auto frames = Frames(reader.bytes);
    ASSERT_EQ(frames.size(), 20u);
    EXPECT_EQ(frames.front(), "\x02-     42");
    EXPECT_EQ(sim.Wait(5), 0);
    EXPECT_EQ(Lines(ReadFile(sim.log)).front(), "\\x02-     42");
  }
}

// The value tells when a frame was made: 100 plus one per 20 ms.
TEST_F(SimulatorTest, ReaderThatClosesAndReopensGetsFreshFramesOnly) {
  SimRun sim(dir, {"--baud", "19200", "--pattern", "steps", "--value", "100", "--step", "1",
                   "--levels", "100000", "--hold", "0.02", "--noise", "0", "--decimals", "0"});
  ASSERT_TRUE(sim.Ready());
  std::this_thread::sleep_for(std::chrono::milliseconds(200));
  RawReader first;
  ASSERT_TRUE(first.Open(sim.link));
  first.ReadFor(0.3);
  const auto before = Frames(first.bytes);
  ASSERT_GE(before.size(), 10u);
  // Whole frames from the start, though the device was opened while the line was busy.
  EXPECT_TRUE(IsReading(before.front(), 0) && before.front().size() == 8) << before.front();
  const double lastBefore = Number(before.back());
  EXPECT_GE(Number(before.front()), 100 + 200 / 20 - 2);
  // Frames sent while the reader holds the device without reading, then after it closed.
  std::this_thread::sleep_for(std::chrono::milliseconds(150));
  first.Close();
  std::this_thread::sleep_for(std::chrono::milliseconds(250));

  RawReader second;
  ASSERT_TRUE(second.Open(sim.link));
  second.ReadFor(0.2);
  const auto after = Frames(second.bytes);
  ASSERT_GE(after.size(), 5u);
  EXPECT_TRUE(IsReading(after.front(), 0) && after.front().size() == 8) << after.front();
  // Nothing left over from before the close: the first frame is about 400 ms younger.
  EXPECT_GE(Number(after.front()), lastBefore + 300 / 20) << second.bytes.substr(0, 40);

  EXPECT_EQ(sim.Stop(), 0);
  const auto log = Lines(ReadFile(sim.log));
  const auto at = std::search(log.begin(), log.end(), after.begin(), after.end());
  EXPECT_NE(at, log.end());
  EXPECT_TRUE(std::equal(before.begin(), before.end(), log.begin()));
  EXPECT_GT(Stats(sim.stats)["frames_undelivered"], 0);
}

// Past the line's buffer a reader that does not read loses characters, as on a wire.
TEST_F(SimulatorTest, StalledReaderLosesCharactersButNeverHoldsTheLineUp) {
  SimRun sim(dir, {"--baud", "921600"});
  ASSERT_TRUE(sim.Ready());
  RawReader reader;
  ASSERT_TRUE(reader.Open(sim.link));
  std::this_thread::sleep_for(std::chrono::milliseconds(600));
  reader.ReadFor(0.3);
  const auto start = Clock::now();
  EXPECT_EQ(sim.Stop(), 0);
  EXPECT_LT(Since(start), 1.0);
  EXPECT_GT(Stats(sim.stats)["frames_undelivered"], 0);

  const auto log = Lines(ReadFile(sim.log));
  int cut = 0;
  auto at = log.begin();
  for (const std::string& f : Frames(reader.bytes)) {
    if (!IsReading(f, 2) || f.size() != 8) {
      ++cut;
      continue;
    }
    at = std::find(at, log.end(), f);
    ASSERT_NE(at, log.end()) << "arrived but not logged, or out of order: " << f;
    ++at;
  }
  EXPECT_LE(cut, 3);
}

TEST_F(SimulatorTest, GarbageBurstsAndARunWithoutTerminators) {
  {
    SimRun sim(dir, {"--baud", "115200", "--garbage-every", "5", "--garbage-len", "16", "--count",
                     "50", "--seed", "7", "--wait"});
    ASSERT_TRUE(sim.Ready());
    RawReader reader;
    ASSERT_TRUE(reader.Open(sim.link));
    reader.ReadUntil(FramesArrived(50), 5);
    ASSERT_EQ(sim.Wait(5), 0);
    const auto pieces = Frames(reader.bytes);
    const auto log = Lines(ReadFile(sim.log));
    ASSERT_EQ(pieces.size(), 50u);
    ASSERT_EQ(log.size(), 50u);
    // The bursts hold no terminator, so each one runs into the frame after it.
    std::vector<std::size_t> dirty;
    for (std::size_t i = 0; i < pieces.size(); ++i) {
      if (pieces[i] == log[i]) continue;
      dirty.push_back(i);
      ASSERT_EQ(pieces[i].size(), 16 + log[i].size());
      EXPECT_EQ(pieces[i].substr(16), log[i]);
    }
    EXPECT_EQ(dirty, (std::vector<std::size_t>{5, 10, 15, 20, 25, 30, 35, 40, 45}));
    EXPECT_EQ(Stats(sim.stats)["garbage_bursts"], static_cast<long long>(dirty.size()));
    EXPECT_EQ(Stats(sim.stats)["bytes_written"], static_cast<long long>(reader.bytes.size()));
  }
  {
    SimRun sim(dir, {"--baud", "230400", "--runaway-after", "3", "--runaway-len", "3000", "--count",
                     "10", "--wait"});
    ASSERT_TRUE(sim.Ready());
    RawReader reader;
    ASSERT_TRUE(reader.Open(sim.link));
    reader.ReadUntil(FramesArrived(10), 5);
    const auto pieces = Frames(reader.bytes);
    ASSERT_EQ(pieces.size(), 10u);
    EXPECT_EQ(pieces[2].size(), 8u);
    EXPECT_EQ(pieces[3].size(), 3000u + 8);
    EXPECT_EQ(pieces[3].find_first_not_of("+ 0123456789."), std::string::npos);
    EXPECT_EQ(sim.Wait(5), 0);
    EXPECT_EQ(Stats(sim.stats)["runaway_chars"], 3000);
  }
}

TEST_F(SimulatorTest, UnpluggedDeviceVanishesAndComesBack) {
  SimRun sim(dir, {"--baud", "9600", "--unplug-every", "0.4", "--unplug-for", "0.3"});
  ASSERT_TRUE(sim.Ready());
  RawReader reader;
  ASSERT_TRUE(reader.Open(sim.link));
  reader.ReadFor(1.0);
  EXPECT_TRUE(reader.hungUp);
  EXPECT_GE(Frames(reader.bytes).size(), 10u);
  reader.Close();
  EXPECT_FALSE(fs::exists(fs::symlink_status(sim.link)));

  const auto start = Clock::now();
  while (!fs::exists(sim.link) && Since(start) < 2) {
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  RawReader again;
  ASSERT_TRUE(again.Open(sim.link));
  again.ReadUntil(FramesArrived(3), 1);
  EXPECT_EQ(Frames(again.bytes).size(), 3u);
  EXPECT_EQ(sim.Stop(), 0);
  EXPECT_GE(Stats(sim.stats)["unplugs"], 1);
}

TEST_F(SimulatorTest, CommandLineAndTheLinkPath) {
  const auto run = [&](const std::vector<std::string>& args) {
    return SimRun::WaitFor(SimRun::Spawn(args, dir / "out", dir / "err"), 5);
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
  EXPECT_FALSE(fs::exists(fs::symlink_status(dir / "x")));

  // A file where the link should be is somebody's data: left alone.
  { std::ofstream(dir / "file") << "keep"; }
  EXPECT_EQ(run({"--link", dir / "file", "--duration", "0.1"}), 1);
  EXPECT_EQ(ReadFile(dir / "file"), "keep");

  // A link left behind by a run that was killed is replaced.
  fs::create_directories(dir / "ports");
  fs::create_symlink("/dev/pts/does-not-exist", dir / "ports/COM1");
  SimRun sim(dir, {"--baud", "9600"});
  ASSERT_TRUE(sim.Ready());
  EXPECT_EQ(fs::read_symlink(sim.link).string().rfind("/dev/pts/", 0), 0u);
  EXPECT_TRUE(fs::exists(sim.link));
  EXPECT_NE(ReadFile(dir / "out").find("READY " + sim.link), std::string::npos);
  // Nobody listening: nothing is written, and a signal still ends the run at once.
  std::this_thread::sleep_for(std::chrono::milliseconds(100));
  EXPECT_EQ(sim.Stop(), 0);
  EXPECT_FALSE(fs::exists(fs::symlink_status(sim.link)));
  EXPECT_EQ(Stats(sim.stats)["frames_written"], 0);
  EXPECT_GT(Stats(sim.stats)["frames_undelivered"], 0);
}

TEST(SimulatorFrames, NumbersFramesAndLogLines) {
  using sim::FrameMaker;
  EXPECT_EQ(FrameMaker::SignedNumber(123.45, 2, 7, false), "+ 123.45");
  EXPECT_EQ(FrameMaker::SignedNumber(12.34, 2, 7, true), "+0012.34");
  EXPECT_EQ(FrameMaker::SignedNumber(-5.5, 1, 5, false), "-  5.5");
  EXPECT_EQ(FrameMaker::SignedNumber(-0.004, 2, 5, false), "+ 0.00");
  EXPECT_EQ(FrameMaker::SignedNumber(7, 0, 3, false), "+  7");
  EXPECT_EQ(FrameMaker::SignedNumber(123456.7, 1, 4, false), "+123456.7");

  sim::SimOptions o;
  o.frame = sim::FrameKind::kFixed;
  o.decimals = 1;
  FrameMaker fixed(o);
  EXPECT_EQ(fixed.Frame(1234.5), "US,GS,+  1234.5kg");
  EXPECT_EQ(fixed.Frame(1234.54), "ST,GS,+  1234.5kg");
  EXPECT_EQ(fixed.Frame(1234.56), "US,GS,+  1234.6kg");
  EXPECT_EQ(fixed.Terminator(), "\r");

  EXPECT_EQ(sim::FrameLog::Printable(std::string("a\\b\r\n\x03\xff ~", 9)),
            "a\\\\b\\x0D\\x0A\\x03\\xFF ~");
  std::string unescaped;
  EXPECT_TRUE(sim::Unescape("\\x02A\\r\\\\", unescaped));
  EXPECT_EQ(unescaped,
            "\x02"
            "A\r\\");
  EXPECT_FALSE(sim::Unescape("\\x2", unescaped));
  EXPECT_FALSE(sim::Unescape("\\q", unescaped));
}

TEST(SimulatorFrames, PatternsHoldAndStepAsAsked) {
  sim::SimOptions o;
  o.pattern = sim::PatternKind::kPlateau;
  o.value = 10;
  o.step = 5;
  o.levels = 3;
  o.hold = 1;
  sim::ValuePattern plateau(o);
  EXPECT_EQ(plateau.At(0), 10);
  EXPECT_EQ(plateau.At(0.999), 10);
  EXPECT_EQ(plateau.At(1.0), 15);
  EXPECT_EQ(plateau.At(2.5), 20);
  EXPECT_EQ(plateau.At(3.2), 10);

  o.settle = 0.5;
  sim::ValuePattern settling(o);
  bool moved = false;
  for (double t = 1.0; t < 1.5; t += 0.01) moved |= settling.At(t) != 15;
  EXPECT_TRUE(moved);
  for (double t = 1.5; t < 2; t += 0.01) ASSERT_EQ(settling.At(t), 15);

  // The same seed gives the same readings; the noise stays within its bounds.
  o.pattern = sim::PatternKind::kSteady;
  o.noise = 0.5;
  sim::ValuePattern a(o), b(o);
  for (int i = 0; i < 100; ++i) {
    const double v = a.At(i * 0.01);
    ASSERT_EQ(v, b.At(i * 0.01));
    ASSERT_LE(std::abs(v - 10), 0.5);
  }
}

}  // namespace
}  // namespace tarnwell::testing
