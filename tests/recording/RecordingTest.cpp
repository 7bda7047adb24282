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

// Recording into Log/rec.txt of `files` (by default the in-memory /prog), with room for
// `maxPending` refused lines and a clock moved by hand. Its message box runs an event loop while
// it is up, as the toolkit's does: `during` runs inside the next box.
struct RecordingRig : MessageBox {
  explicit RecordingRig(FileSystem* files = nullptr, std::size_t maxPending = 4)
      : rec{config,    frame, history, files ? *files : fs,       clock,
            regional,  *this, texts,   [this] { ++traceResets; }, [this] { return caption; },
            maxPending} {
    config.LogEnable = true, config.LogIncremental = false, config.LogTime = 0;
    config.LogFileName = "rec.txt";
    history.Resize(100), texts.Set(90, "Write failed:");
  }
  // A frame of `value` arriving while recording, as the frame handler passes it on.
  void Frame(double value) {
    frame.CurrentValue = value;
    if (config.LogTime == 0) rec.RunWriter();
  }
  // `n` tenths of a second with both timers ticking.
  void Ticks(int n) {
    for (int i = 0; i < n; ++i) {
      clock.Advance(100);
      rec.OnStabilityTick();
      if (config.LogTime > 0) rec.RunWriter();
    }
  }
  std::string& File() { return fs.files["/prog/Log/rec.txt"]; }
  void Show(const std::string& text, const std::string&) override {
    shown.push_back(text);
    maxDepth = std::max(maxDepth, ++depth);
    if (during) std::exchange(during, nullptr)();
    --depth;
  }
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
  Texts shown;
  std::function<void()> during;
  int depth = 0, maxDepth = 0, traceResets = 0;
  LangTable texts;
  std::string caption = "0";
  FakeFileSystem fs;
  RecordingControl rec;
};

class Recording : public ::testing::Test, public RecordingRig {};

// The file is continued without running into a line cut in an earlier run, and named afresh
// when incremental or when its name from config.ini would leave the record folder.
TEST_F(Recording, StartOpensOrNamesTheFileAndWritesTheFirstLineAtOnce) {
  config.LogEnable = false;
  rec.StartRecording();
  config.LogEnable = true;
  fs.files["/prog/Log"] = "";   // a file where the folder should be
  texts.Set(92, "No folder:");  // text 93 is missing: a fixed text says it all the same
  rec.StartRecording();
  fs.files.erase("/prog/Log");
  fs.folders.insert("/prog/Log");
  fs.readOnly = true;
  rec.StartRecording();
  EXPECT_EQ(shown,
            (Texts{"No folder: /prog/Log", "The record file cannot be opened: /prog/Log/rec.txt"}));

  fs.readOnly = false;
  caption = "1250.5";  // before any frame the value is in the general format
  for (const char* cut : {"7", "8\r", ""}) File() += cut, rec.StartRecording();
  EXPECT_EQ(std::tuple(traceResets, config.LastLogTime, history.Slot(0), rec.Recording()),
            std::tuple(3, std::string("31/01/2024 15:45:02"), 1250.5, true));
  config.LogEnable = false;
  EXPECT_FALSE(rec.Recording());
  config.LogEnable = true;
  for (const char* name : {"/tmp/x.txt", "..", "sub\\x.txt", "", "batch..2024.txt"}) {
    config.LogFileName = name;
    rec.StartRecording();
  }
  config.LogIncremental = config.AdvancedMode = true;
  config.LogFileType = 1;
  rec.StartRecording();
  std::string files;
  for (const auto& [path, bytes] : fs.files) files += "== " + path + "\n" + bytes;
  EXPECT_TRUE(MatchesGolden("recording/golden/start.txt", files));
}

// A frame's line carries the instant its frame was read, never one before the line ahead, and a
// clock put back an hour is followed at once. Local time is made last: a zone an hour ahead of
// UTC until a change, then not, gives each line the wall clock's time, and the reverse skips the
// hour that does not exist.
TEST_F(Recording, ALineCarriesItsReadInstantInOrderAndTheWallClocksLocalTime) {
  using namespace std::chrono;
  const auto readAt = [&](Instant at) { rec.RunWriter(at); };
  rec.StartRecording();  // 15:45:02.120
  readAt(clock.now - 30ms), readAt(clock.now + 5ms);
  clock.Advance(100), clock.now -= hours(1);
  readAt(clock.now), readAt(clock.now - 10ms);
  Instant change = clock.now + 1s;
  for (const int summerBefore : {1, 0}) {
    clock.zone = [&, summerBefore](Instant at) { return hours(summerBefore ^ (at >= change)); };
    for (const auto offset : {-1ms, 0ms, 1ms}) readAt(change + offset);
    change += 1s;
  }
  std::string times;
  for (const auto& l : Split(File(), "\r\n")) {
    if (!l.empty()) times += Split(l, "\t").at(3) + "." + Split(l, "\t").at(4) + " ";
  }
  EXPECT_EQ(times,
            "15:45:02.120 15:45:02.120 15:45:02.125 14:45:02.220 14:45:02.220 15:45:03.219 "
            "14:45:03.220 14:45:03.221 14:45:04.219 15:45:04.220 15:45:04.221 ");
}

// Record files below are compared whole with golden files: the times show when lines were written.

// A line at the start, then on the first run in each new second, also after local time went back
// an hour; a LastLogTime changed from outside counts as long past: a line at once, then none.
TEST_F(Recording, IntervalFollowsTheSecondsAndSurvivesAClockSetBack) {
  config.LogTime = 1;
  rec.StartRecording();
  Ticks(59);
  clock.now -= std::chrono::hours(1);
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
  rec.StartRecording();
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
  rec.StartRecording();
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

// Held lines go out in one write. Lines a full disk refuses, alone or held, are kept line by line
// in order until it takes them again (the retry a second on cannot reopen the file yet); those
// beyond the room of 4 are told lost. Closing writes what it can, held lines too.
TEST_F(Recording, RefusedLinesAreKeptInOrderWithinTheirRoom) {
  rec.StartRecording();
  const int before = fs.appends;
  rec.HoldLines();
  for (double v : {2, 3, 4}) Frame(v);
  EXPECT_EQ(Counts(), "1 ");
  rec.ReleaseLines();
  EXPECT_EQ(fs.appends, before + 1);
  fs.full = true;
  Frame(5);
  rec.HoldLines();
  for (double v : {6, 7}) Frame(v);
  rec.ReleaseLines();
  for (double v : {8, 9, 10}) clock.Advance(600), Frame(v);
  fs.full = false;
  rec.Flush();
  Frame(11);
  fs.full = true;
  Frame(12);
  fs.full = false;
  rec.HoldLines();
  Frame(13);
  rec.Close();
  EXPECT_EQ(Counts(), "1 2 3 4 5 6 7 8 11 12 13 ");
  EXPECT_EQ(shown, (Texts{kFailed, "Record lines lost: 2", kAgain, kFailed}));
}

// A failing sync, known when it finishes in the background, is told once while every line is
// still written, and again only after a sync has worked.
TEST_F(Recording, SyncedAtLeastOnceASecondAndAFailingSyncIsToldOnce) {
  rec.StartRecording();
  std::vector<int> syncs;
  for (int i = 0; i < 10; ++i) clock.Advance(100), Frame(i), syncs.push_back(fs.syncs);
  rec.Flush(), syncs.push_back(fs.syncs);  // nothing new since
  Frame(10);
  rec.Flush(), syncs.push_back(fs.syncs);  // the last line reaches the disk without waiting
  EXPECT_EQ(syncs, (std::vector<int>{0, 0, 0, 0, 0, 0, 0, 0, 0, 1, 1, 2}));

  fs.backgroundSyncs = true;
  for (int i = 0; i < 30; ++i) fs.finishedSync = false, clock.Advance(100), Frame(i);
  EXPECT_EQ(std::pair(fs.syncs, Split(File(), "\r\n").size()), std::pair(5, std::size_t{42}));
  EXPECT_EQ(shown, Texts{kFailed});
  fs.finishedSync = true;
  rec.Flush();
  fs.finishedSync = false;  // after the last line: the one-second flush tells it
  rec.Flush();
  EXPECT_EQ(shown, (Texts{kFailed, kFailed}));
  Frame(2);
  const int before = fs.syncs;
  rec.Close();
  EXPECT_EQ(fs.syncs, before + 1);  // closing waits for its own sync of every line
}

TEST_F(Recording, WriterRunFromInsideTheMessageLoopKeepsOrderAndOneBoxAtATime) {
  rec.StartRecording();
  during = [&] {
    for (double v : {3, 4}) Frame(v);
    fs.full = false;
    clock.Advance(1000);
    Frame(5);
  };
  fs.full = true;
  Frame(2);
  EXPECT_EQ(maxDepth, 1);
  EXPECT_EQ(shown, (Texts{kFailed, kAgain}));
  EXPECT_EQ(Counts(), "1 2 3 4 5 ");
  fs.full = true;  // what cannot be written by the end is told lost
  Frame(6);
  rec.Close();
  EXPECT_EQ(shown, (Texts{kFailed, kAgain, kFailed, "Record lines lost: 1"}));
  EXPECT_EQ(std::vector<double>(history.Samples().begin(), history.Samples().begin() + 7),
            (std::vector<double>{0, 2, 3, 4, 5, 6, 0}));
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
  r.rec.StartRecording();
  std::string want = RecordLine(1, "0.0", r.clock.LocalNow(), r.regional);
  const auto frame = [&](int n, int ms) {
    r.clock.Advance(ms);
    r.Frame(n);
    want += RecordLine(n + 1, std::to_string(n) + ".0", r.clock.LocalNow(), r.regional);
  };
  const std::string filler = disk.Fill();
  int n = 1;
  while (n < 2000 && !r.rec.File().Failed()) frame(n++, 10);
  ASSERT_TRUE(r.rec.File().Failed());
  for (int i = 0; i < 50; ++i) frame(n++, 100);
  EXPECT_FALSE(files.WriteWhole(configIni, std::string(8192, 'c')));
  EXPECT_EQ(files.ReadAll(configIni), "kept");
  namespace fs = std::filesystem;  // and no temporary file beside config.ini
  EXPECT_EQ(std::distance(fs::directory_iterator(disk.Path()), fs::directory_iterator()), 3);

  fs::remove(filler);
  r.clock.Advance(1000);
  r.rec.Flush();
  r.rec.Close();
  EXPECT_EQ(r.shown.size(), 2u);
  EXPECT_EQ(files.ReadAll(disk.Path() + "/Log/rec.txt"), want);
}

}  // namespace
}  // namespace tarnwell::testing
