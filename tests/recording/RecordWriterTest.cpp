// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include "RecordingFixture.h"

namespace tarnwell::testing {
namespace {

using ::testing::ElementsAre;

using RecordStart = RecordingFixture;
using RecordWriterRules = RecordingFixture;

TEST_F(RecordStart, OpensResetsTraceAndWritesTheFirstLineAtOnce) {
  fs.files[kPath] = "7\t1\t30/01/24\t10:00:00\t000\r\n";
  fs.folders.insert("/prog/Log");
  caption = "1250.5";
  rec.CmdStart_Click();
  EXPECT_EQ(rec.RecState(), 1);
  EXPECT_TRUE(rec.Recording());
  EXPECT_EQ(traceResets, 1);
  // The existing file is continued; before any frame the value is in the general format.
  EXPECT_EQ(fs.files[kPath],
            "7\t1\t30/01/24\t10:00:00\t000\r\n1\t1250.5\t31/01/24\t15:45:02\t120\r\n");
  EXPECT_EQ(config.LastLogTime, "31/01/2024 15:45:02");
  EXPECT_EQ(history.Slot(0), 1250.5);
  config.LogEnable = false;
  EXPECT_FALSE(rec.Recording());
}

TEST_F(RecordStart, AppendedLinesNeverRunIntoALineCutInAnEarlierRun) {
  fs.folders.insert("/prog/Log");
  caption = "5";
  const std::string first = "1\t12.3\t30/01/24\t10:00:00\t000";
  const std::string added = "1\t5\t31/01/24\t15:45:02\t120\r\n";
  for (const std::string& cut : {first, first + "\r"}) {
    fs.files[kPath] = cut;
    rec.CmdStart_Click();
    EXPECT_EQ(fs.files[kPath], first + "\r\n" + added) << cut;
  }
}

TEST_F(RecordStart, RefusedWithoutLogEnableAndNamedFreshWhenIncremental) {
  config.LogEnable = false;
  rec.CmdStart_Click();
  EXPECT_EQ(rec.RecState(), 3);
  EXPECT_FALSE(fs.FolderExists("/prog/Log"));

  config.LogEnable = true;
  config.LogIncremental = true;
  config.AdvancedMode = true;
  config.LogFileType = 1;
  rec.CmdStart_Click();
  EXPECT_TRUE(fs.FolderExists("/prog/Log"));
  EXPECT_EQ(config.LogFileName, "20240131154502 .xls");
  EXPECT_EQ(fs.files["/prog/Log/20240131154502 .xls"], "1\t0\t31/01/24\t15:45:02\t120\r\n");
}

TEST_F(RecordStart, DamagedNameFromConfigNeverLeavesTheRecordFolder) {
  for (const char* bad : {"../config.ini", "/tmp/x.txt", "..", "sub\\x.txt", ""}) {
    config.LogFileName = bad;
    rec.CmdStart_Click();
    EXPECT_EQ(config.LogFileName, "20240131154502.txt") << bad;
  }
  EXPECT_EQ(fs.files.count("/prog/config.ini"), 0u);
  EXPECT_EQ(fs.files.size(), 1u);
  EXPECT_EQ(fs.files.begin()->first, "/prog/Log/20240131154502.txt");
}

TEST_F(RecordStart, FolderOrFileThatCannotBeMadeIsReportedAndStaysIdle) {
  fs.files["/prog/Log"] = "";  // a file where the folder should be
  texts.Set(92, "No folder:");
  rec.CmdStart_Click();
  EXPECT_EQ(rec.RecState(), 3);
  ASSERT_EQ(messages.shown.size(), 1u);
  EXPECT_EQ(messages.shown[0].text, "No folder: /prog/Log");

  fs.files.erase("/prog/Log");
  fs.folders.insert("/prog/Log");
  fs.readOnly = true;
  rec.CmdStart_Click();
  EXPECT_FALSE(rec.Recording());
  ASSERT_EQ(messages.shown.size(), 2u);
  // Text 93 is missing from this language: a fixed text says it all the same.
  EXPECT_EQ(messages.shown[1].text, "The record file cannot be opened: /prog/Log/rec.txt");
  rec.TimerLog_Timer();
  EXPECT_TRUE(Lines().empty());
}

TEST_F(RecordWriterRules, IntervalFollowsTheSecondsAndSurvivesAClockSetBack) {
  config.LogTime = 1;
  rec.CmdStart_Click();  // 15:45:02.120
  Ticks(8);              // up to 02.920
  EXPECT_EQ(Lines().size(), 1u);
  Ticks(1);  // 03.020: the first run after the second changed
  ASSERT_EQ(Lines().size(), 2u);
  EXPECT_EQ(Lines()[1], "2\t0\t31/01/24\t15:45:03\t020");
  Ticks(50);
  EXPECT_EQ(Lines().size(), 7u);

  // End of summer time: local time goes back an hour. Lines go on once a second.
  clock.SetLocalSeconds(WholeSeconds(clock.local) - 3600);
  Ticks(30);
  EXPECT_EQ(Lines().size(), 10u);
  EXPECT_EQ(Lines().back(), "10\t0\t31/01/24\t14:45:11\t020");

  // A LastLogTime that is not the last line's (changed from outside) counts as long past.
  config.LogTime = 3600;
  config.LastLogTime = "0";
  Ticks(1);
  EXPECT_EQ(Lines().size(), 11u);
  Ticks(20);
  EXPECT_EQ(Lines().size(), 11u);
}

TEST_F(RecordWriterRules, DeadBandEdgesAndEqualValuesWithoutBand) {
  rec.CmdStart_Click();
  Frame(100);
  Frame(100);  // no band: an equal value is written again
  config.LogVariation = 5;
  for (double v : {95.5, 104.9, 100.0, 105.0, 100.5, 100.0, 95.0}) Frame(v);
  EXPECT_THAT(Counts(), ElementsAre(1, 2, 3, 4, 5, 6));
  EXPECT_EQ(rec.Writer().LastLogValue(), 95);
  EXPECT_EQ(Lines()[3].substr(0, 6), "4\t105\t");
}

TEST_F(RecordWriterRules, BelowThresholdResetsTheLastValueAndTheStability) {
  config.LogThreshold = 10;
  config.LogVariation = 5;
  rec.CmdStart_Click();  // 0 is below the threshold: nothing written
  EXPECT_TRUE(Lines().empty());
  Frame(12);
  Frame(13);  // inside the band around 12
  Ticks(5);
  Frame(9);
  EXPECT_EQ(rec.Writer().LastLogValue(), 0);
  EXPECT_EQ(rec.Writer().MotionCount(), 0);
  Frame(13);  // 13 is outside the band around 0 now
  EXPECT_THAT(Counts(), ElementsAre(1, 2));
  EXPECT_EQ(Lines()[1].substr(0, 5), "2\t13\t");
}

TEST_F(RecordWriterRules, StableValueIsRecordedOncePerSettledPeriod) {
  config.MotionTime = 2;
  frame.ValueFormat = "#0.0";
  // The stability counter runs before the start and is not reset by it: the start's own run
  // records at once.
  Ticks(25);
  rec.CmdStart_Click();
  ASSERT_EQ(Lines().size(), 1u);
  auto feed = [this](double v, int tenths) {
    for (int i = 0; i < tenths; ++i) {
      Ticks(1);
      Frame(v);
    }
  };
  feed(500, 21);  // the period starts with the first frame of 500
  EXPECT_EQ(Lines().size(), 1u);
  feed(500, 1);  // more than 20 tenths since then
  ASSERT_EQ(Lines().size(), 2u);
  EXPECT_EQ(Lines()[1].substr(0, 8), "2\t500.0\t");
  feed(500, 50);
  feed(501, 3);
  feed(500, 30);
  EXPECT_EQ(Lines().size(), 3u);
  EXPECT_EQ(rec.Writer().StableLogged(), 1);
}

TEST_F(RecordWriterRules, SampleIndexWrapsAtNofSamplesAndFormatFollowsTheFrame) {
  config.NofSamples = 100;
  regional = Regional{',', '.'};
  frame.ValueFormat = "#0.00";
  rec.CmdStart_Click();
  for (int i = 1; i < 99; ++i) Frame(i);
  EXPECT_EQ(history.SampleIndex(), 99);
  Frame(99);
  EXPECT_EQ(history.SampleIndex(), 0);
  EXPECT_EQ(history.Slot(99), 99);
  EXPECT_EQ(Lines()[99], "100\t99,00\t31.01.24\t15:45:02\t120");
  Frame(-0.004);
  EXPECT_EQ(history.SampleIndex(), 1);
  EXPECT_EQ(Lines()[100].substr(0, 9), "101\t0,00\t");
}

}  // namespace
}  // namespace tarnwell::testing
