// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>
#include <signal.h>

#include <cstdlib>
#include <filesystem>
#include <map>
#include <regex>
#include <string>
#include <vector>

#include "ProgramRig.h"

namespace tarnwell::testing {
namespace {

TEST_F(ProgramTest, RecordsEveryFrameFromStartUpAndWritesItsSettingsAtTheEnd) {
  PutLanguageFile("en.lng");
  PutLanguageFile("std.lng");
  // Port 1 at 19200 bit/s, high refresh, recording from start-up of every frame.
  WriteFile(
      dir_ / "config.ini",
      ConfigIniText(
          {{6, "1"}, {7, "4"}, {8, "0"}, {10, "2"}, {15, "1"}, {17, "1"}, {19, "0"}, {32, "1"}}));
  ASSERT_TRUE(sim_.Start({"--baud", "19200", "--pattern", "steps", "--value", "250", "--step",
                          "0.25", "--hold", "0.02", "--levels", "100000", "--noise", "0",
                          "--decimals", "2", "--count", "300"}));
  Start();
  // The simulator ends by itself once the program has taken all 300 frames.
  EXPECT_EQ(sim_.Wait(20), 0);
  const auto logged = sim_.Logged();
  ASSERT_EQ(logged.size(), 300u);
  EXPECT_EQ(sim_.Stats()["frames_written"], 300);
  const auto recorded = [&] {
    const auto files = RecordFiles();
    return files.size() == 1 ? Split(ReadFile(files[0]), "\r\n") : std::vector<std::string>{};
  };
  EXPECT_TRUE(WaitUntil([&] { return recorded().size() >= 301; }, 5)) << recorded().size();
  ASSERT_EQ(Stop(), 0);

  const auto files = RecordFiles();
  ASSERT_EQ(files.size(), 1u);
  const std::string name = files[0].filename().string();
  EXPECT_TRUE(std::regex_match(name, std::regex(R"(\d{14}\.txt)"))) << name;
  const std::string text = ReadFile(files[0]);
  EXPECT_TRUE(CrLfLinesOnly(text));
  const auto lines = Split(text, "\r\n");
  // The start's own line first, with the display's "0", then one line for every frame.
  ASSERT_EQ(lines.size(), 301u);
  const std::regex date(R"(\d\d/\d\d/\d\d)"), time(R"(\d\d:\d\d:\d\d)"), ms(R"(\d{3})");
  for (std::size_t i = 0; i < lines.size(); ++i) {
    const auto f = Fields(lines[i]);
    ASSERT_EQ(f.size(), 5u) << lines[i];
    ASSERT_EQ(f[0], std::to_string(i + 1)) << lines[i];
    ASSERT_EQ(f[1], i == 0 ? "0" : Fixed(Number(logged[i - 1]), 2)) << lines[i];
    ASSERT_TRUE(std::regex_match(f[2], date)) << lines[i];
    ASSERT_TRUE(std::regex_match(f[3], time)) << lines[i];
    ASSERT_TRUE(std::regex_match(f[4], ms)) << lines[i];
  }
  EXPECT_NE(lines[1], lines[300]);

  const auto values = ConfigValues();
  const std::map<int, std::string> kept = {{1, "0"},  {4, "10"},      {6, "1"},  {7, "4"},
                                           {8, "0"},  {10, "2"},      {15, "1"}, {19, "0"},
                                           {32, "1"}, {38, "-100000"}};
  for (const auto& [line, value] : kept) EXPECT_EQ(values[line - 1], value) << "line " << line;
  EXPECT_EQ(values[15], name);
  EXPECT_TRUE(std::regex_match(values[8], std::regex(R"(\d\d/\d\d/\d{4} \d\d:\d\d:\d\d)")))
      << values[8];
  EXPECT_TRUE(Messages().empty()) << ReadFile(dir_ / "messages.log");
}

TEST_F(ProgramTest, WithoutSettingsOrTheChosenLanguageItRenewsFallsBackAndRemembers) {
  PutLanguageFile("std.lng");
  ASSERT_TRUE(sim_.Start({"--baud", "9600"}));
  Start();
  EXPECT_TRUE(WaitUntil([&] { return Messages().size() >= 2; }, 10));
  // The fresh file holds the default outer size, not what the window had before it was placed.
  auto values = ConfigValues();
  EXPECT_EQ(values[35], "7290");
  EXPECT_EQ(values[36], "6300");
  ASSERT_EQ(Stop(), 0);
  const std::vector<std::string> told = {
      "Tarnwell\tCan not open " + dir_.Path() + "/config.ini file. The configuration file renewed.",
      "Language File Error\tCan not find the Turkish Language file, or the file is corrupted!"};
  EXPECT_EQ(Messages(), told);

  values = ConfigValues();
  EXPECT_EQ(values[18], "255");
  const std::map<int, std::string> defaults = {{1, "0"},  {2, "1"},       {3, "1"},  {4, "10"},
                                               {6, "1"},  {7, "3"},       {15, "0"}, {17, "1"},
                                               {32, "0"}, {38, "-100000"}};
  for (const auto& [line, value] : defaults) EXPECT_EQ(values[line - 1], value) << "line " << line;
  EXPECT_TRUE(std::regex_match(values[15], std::regex(R"(\d{14}\.txt)"))) << values[15];

  // The next start reads the standard file directly, without a word.
  Start();
  ASSERT_EQ(Stop(), 0);
  EXPECT_EQ(Messages(), told);
  values = ConfigValues();
  EXPECT_EQ(values[18], "255");
  EXPECT_TRUE(RecordFiles().empty());
}

TEST_F(ProgramTest, WithoutAUsableLanguageFileItEndsByItself) {
  WriteFile(dir_ / "config.ini", ConfigIniText({{19, "0"}}));
  Start();
  ASSERT_EQ(program_.Wait(15), 0) << "still running or killed";
  EXPECT_EQ(Messages(),
            (std::vector<std::string>{
                "Language File Error\tCan not find the English Language file, or the file is "
                "corrupted!",
                "File Error\tCan not find Language file or file is corrupted!"}));

  // Files too short to hold the texts: the chosen one and then the standard one.
  fs::remove(dir_ / "messages.log");
  std::string shortFile = LanguageFileText("Port failure");
  shortFile.resize(shortFile.find("\"Text 150\""));
  WriteFile(dir_ / "en.lng", shortFile);
  WriteFile(dir_ / "std.lng", shortFile);
  Start();
  ASSERT_EQ(program_.Wait(15), 0) << "still running or killed";
  EXPECT_EQ(Messages(),
            (std::vector<std::string>{
                "Language File Error [Missing Number of Lines]\tError opening language support "
                "file. Standart language support file will be load. Please re-install program or "
                "control your language file  (*.lng)",
                "File Error\tCan not find Language file or file is corrupted!"}));
}

}  // namespace
}  // namespace tarnwell::testing
