// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <filesystem>

#include "FakeClock.h"
#include "FakeMessageBox.h"
#include "TinyTmpfs.h"
#include "platform/qt/QtFileSystem.h"
#include "recording/RecordingControl.h"

namespace tarnwell::testing {
namespace {

// The real file system on a disk that runs full while recording and is then freed: no line is
// lost or left in part, and config.ini keeps its old bytes when the new ones do not fit.
TEST(RecordingDisk, FullDiskThenSpaceAgainLosesNoLine) {
  TinyTmpfs disk("128k");
  if (!disk.Mounted()) GTEST_SKIP() << "mounting a tmpfs is not permitted here";
  QtFileSystem files(disk.Path());
  const std::string configIni = disk.Path() + "/config.ini";
  ASSERT_TRUE(files.WriteWhole(configIni, "kept"));
  AppConfig config;
  config.LogEnable = true;
  config.LogTime = 0;
  config.LogIncremental = false;
  config.LogFileName = "rec.xls";
  FrameState frame;
  frame.ValueFormat = "#0.0";
  SampleHistory history;
  history.Resize(100);
  FakeClock clock;
  Regional regional;
  FakeMessageBox messages;
  LangTable texts;
  RecordingControl rec{config, frame, history, files, clock, regional, messages, texts, {}, {}};

  rec.CmdStart_Click();
  ASSERT_EQ(rec.RecState(), 1);
  const std::string filler = disk.Fill();
  int n = 1;
  for (; n < 2000 && !rec.File().Failed(); ++n) {
    frame.CurrentValue = n;
    clock.Advance(10);
    rec.TimerLog_Timer();
  }
  ASSERT_TRUE(rec.File().Failed());
  for (int i = 0; i < 50; ++i, ++n) {
    frame.CurrentValue = n;
    clock.Advance(100);
    rec.TimerLog_Timer();
  }
  EXPECT_EQ(messages.shown.size(), 1u);
  EXPECT_FALSE(files.WriteWhole(configIni, std::string(8192, 'c')));
  EXPECT_EQ(files.ReadAll(configIni), "kept");
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(disk.Path()),
                          std::filesystem::directory_iterator()),
            3);  // no temporary file left beside config.ini

  std::filesystem::remove(filler);
  clock.Advance(1000);
  rec.Flush();
  EXPECT_FALSE(rec.File().Failed());
  rec.Close();

  const auto text = files.ReadAll(disk.Path() + "/Log/rec.xls");
  ASSERT_TRUE(text);
  // Every line whole, numbered without a gap, in order.
  std::size_t pos = 0;
  for (int i = 0; i < n; ++i) {
    const std::string head = std::to_string(i + 1) + "\t" + std::to_string(i) + ".0\t31/01/24\t";
    const std::size_t end = text->find("\r\n", pos);
    ASSERT_NE(end, std::string::npos) << "line " << i + 1;
    const std::string line = text->substr(pos, end - pos);
    ASSERT_EQ(line.substr(0, head.size()), head) << "line " << i + 1;
    ASSERT_EQ(line.size(), head.size() + 12) << line;  // hh:mm:ss TAB mmm
    pos = end + 2;
  }
  EXPECT_EQ(pos, text->size());
}

}  // namespace
}  // namespace tarnwell::testing
