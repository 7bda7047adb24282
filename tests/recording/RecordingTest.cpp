// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <functional>

#include "FakeClock.h"
#include "FakeFileSystem.h"
#include "Golden.h"
#include "TestFiles.h"
#include "TinyTmpfs.h"
#include "platform/qt/QtFileSystem.h"
#include "recording/RecordLine.h"
#include "recording/RecordingControl.h"

namespace tarnwell::testing {
namespace {

using Texts = std::vector<std::string>;
const std::string kFailed = "Write failed: /prog/Log/rec.txt";
const std::string kAgain = "Writing to the record file works again: /prog/Log/rec.txt";

// The toolkit's message box runs an event loop while it is up: `during` runs inside the next box.
struct LoopingMessageBox : MessageBox {
  void Show(const std::string& text, const std::string&) override {
    shown.push_back(text);
    maxDepth = std::max(maxDepth, ++depth);
    if (during) std::exchange(during, nullptr)();
    --depth;
  }
  Texts shown;
  std::function<void()> during;
  int depth = 0, maxDepth = 0;
};

// Recording into Log/rec.txt of `files` (by default the in-memory /prog), with room for
// `maxPending` refused lines and a clock moved by hand.
struct RecordingRig {
  explicit RecordingRig(FileSystem* files = nullptr, std::size_t maxPending = 4)
      : rec{config,    frame,    history, files ? *files : fs,       clock,
            regional,  messages, texts,   [this] { ++traceResets; }, [this] { return caption; },
            maxPending} {
    config.LogEnable = true, config.LogIncremental = false, config.LogTime = 0;
    config.LogFileName = "rec.txt";
    history.Resize(100);
    texts.Set(90, "Write failed:");
  }
  // A frame of `value` arriving while recording, as the frame handler passes it on.
  void Frame(double value) {
    frame.CurrentValue = value;
    if (config.LogTime == 0) rec.TimerLog_Timer();
  }
  // `n` tenths of a second with both timers ticking.
  void Ticks(int n) {
    for (int i = 0; i < n; ++i) {
      clock.Advance(100);
      rec.MotionTmr_Timer();
      if (config.LogTime > 0) rec.TimerLog_Timer();
    }
  }
  std::string& File() { return fs.files["/prog/Log/rec.txt"]; }
  std::string Counts() {  // the count of every line
    std::string out;
    for (const auto& l : Split(File(), "\r\n")) out += l.substr(0, l.find('\t')) + " ";
    return out;
  }

  AppConfig config;
  FrameState frame;
  SampleHistory history;
  FakeClock clock;
  Regional regional;
  LoopingMessageBox messages;
  LangTable texts;
  int traceResets = 0;
  std::string caption = "0";
  FakeFileSystem fs;
  RecordingControl rec;
};

class Recording : public ::testing::Test, public RecordingRig {};

// The file is continued without running into a line cut in an earlier run, and named afresh
// when incremental or when its name from config.ini would leave the record folder.
TEST_F(Recording, StartOpensOrNamesTheFileAndWritesTheFirstLineAtOnce) {
  config.LogEnable = false;
  rec.CmdStart_Click();
  config.LogEnable = true;
  fs.files["/prog/Log"] = "";   // a file where the folder should be
  texts.Set(92, "No folder:");  // text 93 is missing: a fixed text says it all the same
  rec.CmdStart_Click();
  fs.files.erase("/prog/Log");
  fs.folders.insert("/prog/Log");
  fs.readOnly = true;
  rec.CmdStart_Click();
  EXPECT_EQ(messages.shown,
            (Texts{"No folder: /prog/Log", "The record file cannot be opened: /prog/Log/rec.txt"}));

  fs.readOnly = false;
  caption = "1250.5";  // before any frame the value is in the general format
  for (const char* cut : {"7", "8\r", ""}) File() += cut, rec.CmdStart_Click();
  EXPECT_EQ(std::tuple(traceResets, config.LastLogTime, history.Slot(0), rec.Recording()),
            std::tuple(3, std::string("31/01/2024 15:45:02"), 1250.5, true));
  config.LogEnable = false;
  EXPECT_FALSE(rec.Recording());
  config.LogEnable = true;
  for (const char* bad : {"/tmp/x.txt", "..", "sub\\x.txt", ""}) {
    config.LogFileName = bad;
    rec.CmdStart_Click();
  }
  config.LogIncremental = config.AdvancedMode = true;
  config.LogFileType = 1;
  rec.CmdStart_Click();
  std::string files;
  for (const auto& [path, bytes] : fs.files) files += "== " + path + "\n" + bytes;
  EXPECT_TRUE(MatchesGolden("recording/golden/start.txt", files));
}

// The record files below are compared whole with golden/<name>.txt: their times show when each
// line was written.

// A line at the start (02.120), then at the first run after each change of second; after local
// time goes back an hour, lines go on once a second; a LastLogTime that is not the last line's
// (changed from outside) counts as long past: one line at once, then none for an hour.
TEST_F(Recording, IntervalFollowsTheSecondsAndSurvivesAClockSetBack) {
  config.LogTime = 1;
  rec.CmdStart_Click();
  Ticks(59);
  clock.SetLocalSeconds(WholeSeconds(clock.local) - 3600);
  Ticks(30);
  config.LogTime = 3600;
  config.LastLogTime = "0";
  Ticks(21);
  EXPECT_TRUE(MatchesGolden("recording/golden/interval.txt", File()));
}

// 0 at the start is below the threshold 10: not written. Without a band an equal value is
// written again; with a band of 5 only 105, 100 (after 105) and 95 leave it. 13 is inside the band
// around 12; 9 resets the last value to 0, so 13 is outside it afterwards.
TEST_F(Recording, ThresholdAndDeadBandChooseTheValuesAndTheSamplesWrap) {
  config.LogThreshold = 10;
  config.NofSamples = 100;
  regional = Regional{',', '.'};
  frame.ValueFormat = "#0.00";
  rec.CmdStart_Click();
  for (double v : {100, 100}) Frame(v);
  config.LogVariation = 5;
  for (double v : {95.5, 104.9, 100.0, 105.0, 100.5, 100.0, 95.0, 12.0, 13.0}) Frame(v);
  Ticks(5);
  Frame(9);
  EXPECT_EQ(rec.Writer().MotionCount(), 0);
  Frame(13);
  for (int i = 1; i <= 93; ++i) Frame(20 * i);
  config.LogThreshold = -1;
  Frame(-0.004);
  EXPECT_EQ(std::pair(history.SampleIndex(), history.Slot(0)), std::pair(1, -0.004));
  EXPECT_TRUE(MatchesGolden("recording/golden/filter_wrap.txt", File()));
}

// The stability counter runs on before the start: the start's own run records at once. A value
// is recorded once, more than 20 tenths after its first frame, however long it stays.
TEST_F(Recording, StableValueIsRecordedOncePerSettledPeriod) {
  config.MotionTime = 2;
  frame.ValueFormat = "#0.0";
  Ticks(25);
  rec.CmdStart_Click();
  for (const auto& [v, tenths] : {std::pair(500, 72), {501, 3}, {500, 30}}) {
    for (int i = 0; i < tenths; ++i) Ticks(1), Frame(v);
  }
  EXPECT_TRUE(MatchesGolden("recording/golden/stable.txt", File()));
}

// Leading zeros everywhere, a two-digit year, and a count that does not turn into 1E+06.
TEST(RecordLine, FieldsAndSeparatorsByteForByte) {
  EXPECT_EQ(RecordLine(1000000, "-3", DateTime{2009, 3, 4, 0, 5, 9, 7}, Regional{}) +
                RecordLine(12, "", DateTime{2000, 12, 9, 23, 59, 59, 999}, Regional{}),
            "1000000\t-3\t04/03/09\t00:05:09\t007\r\n12\t\t09/12/00\t23:59:59\t999\r\n");
}

// Lines a full disk refuses are kept in order until it takes them again (the retry a second on
// cannot reopen the file yet); those beyond the room, or unwritten at the end, are told lost.
TEST_F(Recording, FullDiskKeepsLinesInOrderWithinTheirRoom) {
  rec.CmdStart_Click();
  fs.full = true;
  for (int v = 2; v <= 7; ++v) clock.Advance(300), Frame(v);
  fs.full = false;
  rec.Flush();
  Frame(8);
  EXPECT_EQ(Counts(), "1 2 3 4 5 8 ");
  fs.full = true;
  for (double v : {9, 10}) Frame(v);
  rec.Close();
  EXPECT_EQ(messages.shown,
            (Texts{kFailed, "Record lines lost: 2", kAgain, kFailed, "Record lines lost: 2"}));
}

// The lines of one read go out in one write, whole and in order; a refused one is kept line by
// line and follows the lines kept before it.
TEST_F(Recording, HeldLinesGoOutInOneWriteAndAreKeptInOrderWhenRefused) {
  rec.CmdStart_Click();
  const int before = fs.appends;
  rec.HoldLines();
  for (int v = 2; v <= 4; ++v) Frame(v);
  EXPECT_EQ(Counts(), "1 ");
  rec.ReleaseLines();
  EXPECT_EQ(fs.appends, before + 1);
  fs.full = true;
  Frame(5);
  rec.HoldLines();
  for (double v : {6, 7}) Frame(v);
  rec.ReleaseLines();
  EXPECT_EQ(rec.File().Pending(), 3u);
  fs.full = false;
  rec.HoldLines();
  Frame(8);
  rec.Close();
  EXPECT_EQ(Counts(), "1 2 3 4 5 6 7 8 ");
}

// A failing sync, known when it finishes in the background, is told once while every line is
// still written, and again only after a sync has worked.
TEST_F(Recording, SyncedAtLeastOnceASecondAndAFailingSyncIsToldOnce) {
  rec.CmdStart_Click();
  std::vector<int> syncs;
  for (int i = 0; i < 10; ++i) clock.Advance(100), Frame(i), syncs.push_back(fs.syncs);
  rec.Flush();  // nothing new since
  syncs.push_back(fs.syncs);
  Frame(10);
  rec.Flush();  // the last line reaches the disk without waiting for another
  syncs.push_back(fs.syncs);
  EXPECT_EQ(syncs, (std::vector<int>{0, 0, 0, 0, 0, 0, 0, 0, 0, 1, 1, 2}));

  fs.backgroundSyncs = true;
  for (int i = 0; i < 30; ++i) fs.finishedSync = false, clock.Advance(100), Frame(i);
  EXPECT_EQ(std::pair(fs.syncs, Split(File(), "\r\n").size()), std::pair(5, std::size_t{42}));
  EXPECT_EQ(messages.shown, Texts{kFailed});
  fs.finishedSync = true;
  rec.Flush();
  fs.finishedSync = false;
  clock.Advance(1000);
  Frame(1);
  EXPECT_EQ(messages.shown, (Texts{kFailed, kFailed}));
  Frame(2);
  const int before = fs.syncs;
  rec.Close();  // waits for its own sync of every line
  EXPECT_EQ(fs.syncs, before + 1);
}

TEST_F(Recording, WriterRunFromInsideTheMessageLoopKeepsOrderAndOneBoxAtATime) {
  rec.CmdStart_Click();
  messages.during = [&] {
    for (double v : {3, 4}) Frame(v);
    fs.full = false;
    clock.Advance(1000);
    Frame(5);
  };
  fs.full = true;
  Frame(2);
  EXPECT_EQ(messages.maxDepth, 1);
  EXPECT_EQ(messages.shown, (Texts{kFailed, kAgain}));
  EXPECT_EQ(Counts(), "1 2 3 4 5 ");
  EXPECT_EQ(std::vector<double>(history.Samples().begin(), history.Samples().begin() + 6),
            (std::vector<double>{0, 2, 3, 4, 5, 0}));
}

// The real file system on a disk that runs full while recording and is then freed: no line is
// lost or left in part, and config.ini keeps its old bytes when the new ones do not fit.
TEST(RecordingDisk, FullDiskThenSpaceAgainLosesNoLine) {
  TinyTmpfs disk("128k");
  if (!disk.Mounted()) GTEST_SKIP() << "mounting a tmpfs is not permitted here";
  QtFileSystem files(disk.Path());
  const std::string configIni = disk.Path() + "/config.ini";
  ASSERT_TRUE(files.WriteWhole(configIni, "kept"));
  RecordingRig r(&files, 1000);
  r.frame.ValueFormat = "#0.0";
  r.rec.CmdStart_Click();
  std::string want = RecordLine(1, "0.0", r.clock.local, r.regional);
  const auto frame = [&](int n, int ms) {
    r.clock.Advance(ms);
    r.Frame(n);
    want += RecordLine(n + 1, std::to_string(n) + ".0", r.clock.local, r.regional);
  };
  const std::string filler = disk.Fill();
  int n = 1;
  while (n < 2000 && !r.rec.File().Failed()) frame(n++, 10);
  ASSERT_TRUE(r.rec.File().Failed());
  for (int i = 0; i < 50; ++i) frame(n++, 100);
  EXPECT_FALSE(files.WriteWhole(configIni, std::string(8192, 'c')));
  EXPECT_EQ(files.ReadAll(configIni), "kept");
  // No temporary file beside config.ini.
  namespace fs = std::filesystem;
  EXPECT_EQ(std::distance(fs::directory_iterator(disk.Path()), fs::directory_iterator()), 3);

  fs::remove(filler);
  r.clock.Advance(1000);
  r.rec.Flush();
  r.rec.Close();
  EXPECT_EQ(r.messages.shown.size(), 2u);
  EXPECT_EQ(files.ReadAll(disk.Path() + "/Log/rec.txt"), want);
}

}  // namespace
}  // namespace tarnwell::testing
