// SPDX-License-Identifier: GPL-3.0-or-later
// What the program does as a process: the size it keeps across runs, termination requests in
// every state, a second start on the same folder, and what it leaves in its folder.
#include <chrono>
#include <set>

#include "ProgramRig.h"

namespace tarnwell::testing {
namespace {

// One pixel at the offscreen screen's 96 dots per inch.
constexpr double kPixelTwips = 15;

double NumberOf(const std::string& text) { return std::stod(text); }

// Nor does it leave files behind, not even what a write killed half way left.
TEST_F(ProgramTest, KeepsItsWindowSizeAcrossRunsAndNoOtherFile) {
  PutLanguageFile("std.lng");
  WriteFile(dir_ / "config.ini",
            ConfigIniText({{6, "0"}, {19, "255"}, {36, "9000"}, {37, "6000"}}));
  WriteFile(dir_ / "config.ini.new", "half");
  for (int run = 0; run < 3; ++run) {
    Start();
    ASSERT_EQ(Stop(), 0);
    const auto values = ConfigValues();
    EXPECT_NEAR(NumberOf(values[35]), 9000, kPixelTwips) << "run " << run;
    EXPECT_NEAR(NumberOf(values[36]), 6000, kPixelTwips) << "run " << run;
  }
  // The smallest window is the smallest outer size, frame included.
  WriteFile(dir_ / "config.ini",
            ConfigIniText({{6, "0"}, {19, "255"}, {36, "1000"}, {37, "1000"}}));
  Start();
  ASSERT_EQ(Stop(), 0);
  const auto values = ConfigValues();
  EXPECT_NEAR(NumberOf(values[35]), 8005, kPixelTwips);
  EXPECT_NEAR(NumberOf(values[36]), 3825, kPixelTwips);
  std::set<std::string> names;
  for (const auto& entry : fs::directory_iterator(dir_.Path())) {
    names.insert(entry.path().filename().string());
  }
  EXPECT_EQ(names, (std::set<std::string>{"config.ini", "std.lng", "out", "err"}));
}

// Seconds from the signal to the end, or -1 when it does not end within 5.
double EndsAfterSignal(ChildProcess& program) {
  if (!WaitUntil([&] { return program.Catches(SIGTERM); }, 10)) return -1;
  // Let the box come up and wait.
  WaitUntil([] { return false; }, 1);
  const auto sent = std::chrono::steady_clock::now();
  program.Signal(SIGTERM);
  if (!program.Wait(5)) return -1;
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - sent).count();
}

TEST_F(ProgramTest, EndsOnATerminationRequestWhileAMessageBoxWaits) {
  PutLanguageFile("std.lng");
  // The renewal box waits before anything is renewed: the damaged file stays as it was.
  const std::string damaged = "garbage\r\n";
  WriteFile(dir_ / "config.ini", damaged);
  Start(true);
  double took = EndsAfterSignal(program_);
  EXPECT_GE(took, 0);
  EXPECT_LT(took, 2);
  EXPECT_EQ(Config(), damaged);

  // The port box waits after the settings were read: they are written as at any exit.
  WriteFile(dir_ / "config.ini", ConfigIniText({{6, "5"}, {19, "255"}, {20, "1"}}));
  fs::create_directories(dir_ / "ports");
  WriteFile(dir_ / "ports/COM5", "not a device");
  Start(true);
  took = EndsAfterSignal(program_);
  EXPECT_GE(took, 0);
  EXPECT_LT(took, 2);
  const auto values = ConfigValues();
  EXPECT_EQ(values[5], "5");
  EXPECT_EQ(values[19], "1");
}

TEST_F(ProgramTest, ASecondStartOnTheSameFolderEndsAndTouchesNothing) {
  PutLanguageFile("std.lng");
  // Recording every second into one shared file, as two starts in the same second would.
  WriteFile(dir_ / "config.ini",
            ConfigIniText({{6, "1"}, {8, "1"}, {15, "1"}, {17, "0"}, {19, "255"}, {32, "1"}}));
  ASSERT_TRUE(sim_.Start({"--baud", "9600", "--decimals", "2"}));
  Start();
  ASSERT_TRUE(WaitUntil([&] { return program_.Catches(SIGTERM); }, 10));
  ChildProcess second;
  StartAs(second);
  EXPECT_EQ(second.Wait(10), std::optional<int>(1));
  ASSERT_EQ(Messages().size(), 1u);
  EXPECT_NE(Messages()[0].find("already running in " + dir_.Path()), std::string::npos);
  WaitUntil([] { return false; }, 2.5);
  ASSERT_EQ(Stop(), 0);
  EXPECT_EQ(Messages().size(), 1u);

  std::set<std::string> sent;
  for (const std::string& frame : sim_.Logged()) sent.insert(Fixed(Number(frame), 2));
  const auto files = RecordFiles();
  ASSERT_EQ(files.size(), 1u);
  const auto lines = Split(ReadFile(files[0]), "\r\n");
  ASSERT_GE(lines.size(), 2u);
  for (std::size_t i = 0; i < lines.size(); ++i) {
    const auto f = Fields(lines[i]);
    ASSERT_EQ(f.size(), 5u) << lines[i];
    EXPECT_EQ(f[0], std::to_string(i + 1));
    // The start's own line holds the display's "0"; every other line a value that was sent.
    if (i > 0) {
      EXPECT_TRUE(sent.count(f[1])) << lines[i];
    }
  }
}

}  // namespace
}  // namespace tarnwell::testing
