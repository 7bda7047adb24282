// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <filesystem>
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

namespace fs = std::filesystem;

// Its pacing, frame log, garbage and unplugging are proven where the program reads it, on the
// pty and in the end-to-end runs; here its command line, its link and its frame texts.
TEST(Simulator, CommandLineAndTheLinkPath) {
  if (!fs::exists(SimulatorPath())) GTEST_SKIP() << "no simulator";
  TempDir dir;
  const auto run = [&](const std::vector<std::string>& args) {
    ChildProcess child;
    child.Start(SimulatorPath(), args, {}, dir / "out");
    return child.Wait(5).value_or(-1);
  };
  // A wrong command line starts nothing and makes no link.
  EXPECT_EQ(run({"--link", dir / "x", "--baud", "300"}), 2);
  EXPECT_NE(ReadFile(dir / "out").find("--baud"), std::string::npos);
  EXPECT_EQ(run({"--baud", "9600"}), 2);
  EXPECT_FALSE(fs::exists(fs::symlink_status(dir / "x")));

  // A file where the link should be is somebody's data: left alone.
  WriteFile(dir / "file", "keep");
  EXPECT_EQ(run({"--link", dir / "file", "--duration", "0.1"}), 1);
  EXPECT_EQ(ReadFile(dir / "file"), "keep");

  // A link left behind by a run that was killed is replaced.
  SimProcess sim(dir.Path());
  fs::create_directories(dir / "ports");
  fs::create_symlink("/dev/pts/does-not-exist", sim.link);
  ASSERT_TRUE(sim.Start({"--baud", "9600"}));
  EXPECT_TRUE(fs::is_character_file(sim.link));
  EXPECT_NE(ReadFile(dir / "sim.out").find("READY " + sim.link), std::string::npos);
  // Nobody listening: nothing is written, and a signal still ends the run at once.
  EXPECT_EQ(sim.Stop(), 0);
  EXPECT_FALSE(fs::exists(fs::symlink_status(sim.link)));
  EXPECT_EQ(sim.Stat("frames_written"), 0);
}

TEST(SimulatorFrames, NumbersFramesAndLogLines) {
  using namespace sim;
  EXPECT_EQ(FrameMaker::SignedNumber(123.45, 2, 7, false), "+ 123.45");
  EXPECT_EQ(FrameMaker::SignedNumber(12.34, 2, 7, true), "+0012.34");
  EXPECT_EQ(FrameMaker::SignedNumber(-0.004, 2, 5, false), "+ 0.00");

  SimOptions o;
  o.frame = FrameKind::kFixed;
  o.decimals = 1;
  FrameMaker fixed(o);
  // The status shows the frame after each step.
  EXPECT_EQ(fixed.Frame(1234.5), "US,GS,+  1234.5kg");
  EXPECT_EQ(fixed.Frame(1234.54), "ST,GS,+  1234.5kg");
  EXPECT_EQ(fixed.Frame(1234.56), "US,GS,+  1234.6kg");

  EXPECT_EQ(FrameLog::Printable(std::string("a\\b\r\n\x03\xff ~", 9)),
            "a\\\\b\\x0D\\x0A\\x03\\xFF ~");
  std::string unescaped;
  EXPECT_TRUE(Unescape("\\x02A\\r\\\\", unescaped));
  EXPECT_EQ(unescaped,
            "\x02"
            "A\r\\");
  EXPECT_FALSE(Unescape("\\x2", unescaped));
}

}  // namespace
}  // namespace tarnwell::testing
