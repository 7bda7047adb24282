// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "FakeClock.h"
#include "ScriptedLine.h"
#include "TestFiles.h"
#include "platform/win32/Win32LineReader.h"

namespace tarnwell::testing {
namespace {

using Follows = LineRead::Follows;

std::string Name(Follows follows) {
  return follows == Follows::kLine ? "line" : follows == Follows::kOpening ? "opening" : "loss";
}

// A reader on a scripted line, and what it handed over so far as "chars/follows" per read.
struct ReaderRig {
  ReaderRig() : reader(std::make_unique<Win32LineReader>(line, clock, [this] { ++wakes; })) {}
  // Waits until the reader took everything the line holds and what it kept was taken.
  std::vector<std::string> Taken() {
    EXPECT_TRUE(WaitUntil([&] { return line.Drained(); }, 30));
    reader->TakeInto(in);
    std::vector<std::string> reads;
    for (std::size_t i = 0, from = 0; i < in.reads.size(); from = in.reads[i++].end) {
      const std::size_t dropped = in.reads[i].framesDropped;
      reads.push_back(in.chars.substr(from, in.reads[i].end - from) + "/" +
                      Name(in.reads[i].follows) +
                      (dropped ? " " + std::to_string(dropped) + " dropped" : ""));
    }
    return reads;
  }

  ScriptedLine line;
  FakeClock clock;
  std::atomic<int> wakes{0};
  Received in;
  std::unique_ptr<Win32LineReader> reader;
};

// Each read is stamped with the clock's instant and kept in order; the first follows the
// opening; every read kept wakes the port. A device gone ends the reading after what came
// before, and wakes the port to close it.
TEST(Win32LineReader, KeepsEachReadStampedAndInOrderUntilTheDeviceIsPulled) {
  ReaderRig rig;
  rig.line.Arrive("+ 1.00\r+ 2");
  EXPECT_EQ(rig.Taken(), std::vector<std::string>{"+ 1.00\r+ 2/opening"});
  rig.line.Arrive(".00\r");
  EXPECT_EQ(rig.Taken(), (std::vector<std::string>{"+ 1.00\r+ 2/opening", ".00\r/line"}));
  ASSERT_EQ(rig.in.reads.size(), 2u);
  EXPECT_EQ(rig.in.reads[1].at, rig.clock.now);
  EXPECT_EQ(rig.wakes, 2);
  EXPECT_FALSE(rig.reader->Lost());
  rig.line.Pull();
  ASSERT_TRUE(WaitUntil([&] { return rig.wakes == 3; }, 30));
  EXPECT_TRUE(rig.reader->Lost());
}

// Every error flag that means lost or broken characters drops what it may have cut, whether the
// driver raised it before the read or while the read ran; the next read follows the loss and
// tells how many frames went. Other flags lose nothing.
TEST(Win32LineReader, EachLossTheDriverFlagsDropsWhatItCutAndMarksTheGap) {
  const std::vector<std::pair<const char*, DWORD>> flags = {
      {"overrun", CE_OVERRUN}, {"buffer overrun", CE_RXOVER}, {"framing", CE_FRAME},
      {"parity", CE_RXPARITY}, {"break", CE_BREAK},           {"transmit full", CE_TXFULL}};
  std::vector<std::string> outcomes, expected;
  for (const auto& [name, flag] : flags) {
    for (const bool duringRead : {false, true}) {
      ReaderRig rig;
      rig.line.Arrive("1\r");
      rig.Taken();
      if (duringRead) rig.line.DuringNextRead(flag);
      rig.line.Arrive("2\r", duringRead ? 0 : flag);
      rig.Taken();
      rig.line.Arrive("3\r");
      std::string outcome = std::string(name) + (duringRead ? " during the read:" : ":");
      for (const std::string& read : rig.Taken()) outcome += " " + read;
      outcomes.push_back(outcome);
      const bool loss = flag != CE_TXFULL;
      expected.push_back(
          std::string(name) + (duringRead ? " during the read:" : ":") +
          (loss ? " 1\r/opening 3\r/loss 1 dropped" : " 1\r/opening 2\r/line 3\r/line"));
    }
  }
  EXPECT_EQ(outcomes, expected);
}

// A driver that cannot be waited on is still read; a read that hangs does not keep the reader
// from ending.
TEST(Win32LineReader, ReadsWithoutWaitsAndEndsDuringAHangingRead) {
  ReaderRig rig;
  rig.line.RefuseWaits();
  rig.line.Arrive("+ 1.00\r");
  EXPECT_EQ(rig.Taken(), std::vector<std::string>{"+ 1.00\r/opening"});
  rig.line.HangNextRead();
  rig.line.Arrive("+ 2.00\r");
  ASSERT_TRUE(WaitUntil([&] { return rig.line.Hanging(); }, 30));
  rig.reader.reset();
}

}  // namespace
}  // namespace tarnwell::testing
