// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>

#include "RecordingFixture.h"

namespace tarnwell::testing {
namespace {

using ::testing::ElementsAre;

using RecordFailure = RecordingFixture;

TEST_F(RecordFailure, FullDiskKeepsLinesInOrderAndWritesThemWhenItAcceptsAgain) {
  rec.CmdStart_Click();
  fs.full = true;
  for (int v = 2; v <= 6; ++v) {
    clock.Advance(300);
    Frame(v);
  }
  ASSERT_EQ(messages.shown.size(), 1u);
  EXPECT_EQ(messages.shown[0].text, "Write failed: /prog/Log/rec.txt");
  EXPECT_THAT(Counts(), ElementsAre(1));

  fs.full = false;
  rec.Flush();
  Frame(7);
  EXPECT_THAT(Counts(), ElementsAre(1, 2, 3, 4, 5, 6, 7));
  ASSERT_EQ(messages.shown.size(), 2u);
  EXPECT_EQ(messages.shown[1].text, "Writing to the record file works again: /prog/Log/rec.txt");

  // A later failure is told again.
  fs.full = true;
  Frame(8);
  EXPECT_EQ(messages.shown.size(), 3u);
}

// The lines of one read go out in one write, whole and in order; a refused one is kept line by
// line and follows the lines kept before it.
TEST_F(RecordFailure, HeldLinesGoOutInOneWriteAndAreKeptInOrderWhenRefused) {
  rec.CmdStart_Click();
  const int before = fs.appends;
  rec.HoldLines();
  for (int v = 2; v <= 4; ++v) Frame(v);
  EXPECT_THAT(Counts(), ElementsAre(1));
  rec.ReleaseLines();
  EXPECT_EQ(fs.appends, before + 1);
  EXPECT_THAT(Counts(), ElementsAre(1, 2, 3, 4));

  fs.full = true;
  Frame(5);
  rec.HoldLines();
  Frame(6);
  Frame(7);
  rec.ReleaseLines();
  EXPECT_EQ(rec.File().Pending(), 3u);
  fs.full = false;
  rec.HoldLines();
  Frame(8);
  rec.Close();
  EXPECT_THAT(Counts(), ElementsAre(1, 2, 3, 4, 5, 6, 7, 8));
}

TEST_F(RecordFailure, FullQueueSaysHowManyLinesWereDropped) {
  RecordingControl small{config, frame, history, fs, clock, regional, messages, texts, {}, {}, 3};
  small.CmdStart_Click();
  fs.full = true;
  for (int v = 2; v <= 6; ++v) {
    frame.CurrentValue = v;
    small.TimerLog_Timer();
  }
  fs.full = false;
  small.Flush();
  EXPECT_THAT(Counts(), ElementsAre(1, 2, 3, 4));
  ASSERT_EQ(messages.shown.size(), 3u);
  EXPECT_EQ(messages.shown[1].text, "Record lines lost: 2");

  // Lines that cannot be written by the end are reported as lost too.
  fs.full = true;
  small.TimerLog_Timer();
  small.TimerLog_Timer();
  small.Close();
  EXPECT_EQ(messages.shown.back().text, "Record lines lost: 2");
}

TEST_F(RecordFailure, SyncedAtLeastOnceASecondAndAFailingSyncIsToldOnce) {
  rec.CmdStart_Click();
  for (int i = 0; i < 9; ++i) {
    clock.Advance(100);
    Frame(i);
  }
  EXPECT_EQ(fs.syncs, 0);
  clock.Advance(100);
  Frame(9);
  EXPECT_EQ(fs.syncs, 1);
  rec.Flush();  // nothing new since
  EXPECT_EQ(fs.syncs, 1);
  Frame(10);
  rec.Flush();  // the last line reaches the disk without waiting for another
  EXPECT_EQ(fs.syncs, 2);

  // The disk takes the lines but not the syncs: told once, and every line still written.
  fs.syncFails = true;
  for (int i = 0; i < 30; ++i) {
    clock.Advance(100);
    Frame(i);
  }
  EXPECT_EQ(fs.syncs, 5);
  EXPECT_EQ(Lines().size(), 42u);
  ASSERT_EQ(messages.shown.size(), 1u);
  EXPECT_EQ(messages.shown[0].text, "Write failed: /prog/Log/rec.txt");
  // Once a sync has worked again, the next failure is told again.
  fs.syncFails = false;
  Frame(0);
  rec.Flush();
  fs.syncFails = true;
  clock.Advance(1000);
  Frame(1);
  EXPECT_EQ(messages.shown.size(), 2u);
}

TEST_F(RecordFailure, BackgroundSyncFailureIsToldOnceWhenKnownAndCloseStillSyncs) {
  fs.backgroundSyncs = true;
  rec.CmdStart_Click();
  clock.Advance(1000);
  Frame(1);
  EXPECT_EQ(fs.syncs, 1);
  EXPECT_TRUE(messages.shown.empty());  // still under way
  // It fails after the last line: the one-second flush tells it, once.
  fs.finishedSync = false;
  rec.Flush();
  ASSERT_EQ(messages.shown.size(), 1u);
  EXPECT_EQ(messages.shown[0].text, "Write failed: /prog/Log/rec.txt");
  clock.Advance(1000);
  Frame(2);
  fs.finishedSync = false;
  rec.Flush();
  EXPECT_EQ(messages.shown.size(), 1u);
  // Closing waits for its own sync of every line.
  Frame(3);
  const int before = fs.syncs;
  rec.Close();
  EXPECT_EQ(fs.syncs, before + 1);
}

// Stands for the toolkit's message box, whose event loop delivers timer and serial events
// while it is up.
class LoopingMessageBox : public MessageBox {
 public:
  void Show(const std::string& text, const std::string&) override {
    shown.push_back(text);
    maxDepth = std::max(maxDepth, ++depth);
    if (during) std::exchange(during, nullptr)();
    --depth;
  }
  std::vector<std::string> shown;
  std::function<void()> during;
  int depth = 0;
  int maxDepth = 0;
};

TEST_F(RecordFailure, WriterRunFromInsideTheMessageLoopKeepsOrderAndOneBoxAtATime) {
  LoopingMessageBox box;
  RecordingControl nested{config, frame, history, fs, clock, regional, box, texts, {}, {}};
  nested.CmdStart_Click();
  box.during = [&] {
    for (int v = 3; v <= 5; ++v) {
      frame.CurrentValue = v;
      nested.TimerLog_Timer();
    }
    fs.full = false;
    clock.Advance(1000);
    frame.CurrentValue = 6;
    nested.TimerLog_Timer();
  };
  fs.full = true;
  frame.CurrentValue = 2;
  nested.TimerLog_Timer();
  EXPECT_EQ(box.maxDepth, 1);
  ASSERT_EQ(box.shown.size(), 2u);
  EXPECT_EQ(box.shown[1].rfind("Writing to the record file works again", 0), 0u);
  EXPECT_THAT(Counts(), ElementsAre(1, 2, 3, 4, 5, 6));
  EXPECT_EQ(history.SampleIndex(), 6);
  EXPECT_EQ(std::vector<double>(history.Samples().begin(), history.Samples().begin() + 6),
            (std::vector<double>{0, 2, 3, 4, 5, 6}));
}

}  // namespace
}  // namespace tarnwell::testing
