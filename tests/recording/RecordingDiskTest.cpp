// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <filesystem>

#include "RecordingFixture.h"
#include "TinyTmpfs.h"
#include "platform/qt/QtFileSystem.h"

namespace tarnwell::testing {
namespace {

namespace fs = std::filesystem;

// The real file system on a disk that runs full while recording and is then freed: no line is
// lost or left in part, and config.ini keeps its old bytes when the new ones do not fit.
TEST(RecordingDisk, FullDiskThenSpaceAgainLosesNoLine) {
  TinyTmpfs disk("128k");
  if (!disk.Mounted()) GTEST_SKIP() << "mounting a tmpfs is not permitted here";
  QtFileSystem files(disk.Path());
  const std::string configIni = disk.Path() + "/config.ini";
  ASSERT_TRUE(files.WriteWhole(configIni, "kept"));
  RecordingRig r(&files);
  r.frame.ValueFormat = "#0.0";
  r.rec.CmdStart_Click();
  ASSERT_EQ(r.rec.RecState(), 1);
  const std::string filler = disk.Fill();
  int n = 1;
  for (; n < 2000 && !r.rec.File().Failed(); ++n) {
    r.clock.Advance(10);
    r.Frame(n);
  }
  ASSERT_TRUE(r.rec.File().Failed());
  for (int i = 0; i < 50; ++i, ++n) {
    r.clock.Advance(100);
    r.Frame(n);
  }
  EXPECT_EQ(r.messages.shown.size(), 1u);
  EXPECT_FALSE(files.WriteWhole(configIni, std::string(8192, 'c')));
  EXPECT_EQ(files.ReadAll(configIni), "kept");
  // No temporary file beside config.ini.
  EXPECT_EQ(std::distance(fs::directory_iterator(disk.Path()), fs::directory_iterator()), 3);

  fs::remove(filler);
  r.clock.Advance(1000);
  r.rec.Flush();
  EXPECT_FALSE(r.rec.File().Failed());
  r.rec.Close();

  const auto text = files.ReadAll(disk.Path() + "/Log/rec.txt");
  ASSERT_TRUE(text);
  // Every line whole, numbered without a gap, in order.
  const auto lines = Split(*text, "\r\n");
  ASSERT_EQ(lines.size(), static_cast<std::size_t>(n));
  EXPECT_TRUE(CrLfLinesOnly(*text));
  for (int i = 0; i < n; ++i) {
    const std::string head = std::to_string(i + 1) + "\t" + std::to_string(i) + ".0\t31/01/24\t";
    const std::string& line = lines[static_cast<std::size_t>(i)];
    ASSERT_EQ(line.substr(0, head.size()), head) << "line " << i + 1;
    ASSERT_EQ(line.size(), head.size() + 12) << line;  // hh:mm:ss TAB mmm
  }
}

}  // namespace
}  // namespace tarnwell::testing
