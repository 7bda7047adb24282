// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>
#include <signal.h>

#include <cstdlib>
#include <filesystem>
#include <map>
#include <regex>
#include <string>
#include <vector>

#include "ChildProcess.h"
#include "E2eFiles.h"
#include "SimProcess.h"
#include "TempDir.h"
#include "config/ConfigFile.h"

namespace tarnwell::testing {
namespace {

namespace fs = std::filesystem;

std::string BinFolder() {
  const char* bin = std::getenv("TARNWELL_BIN");
  return bin && *bin ? bin : TARNWELL_BIN_BUILT;
}

std::vector<std::string> Fields(const std::string& line) { return SplitLines(line, "\t"); }

// The real program in a program folder of its own, started as a user starts it, with its
// message boxes written to a file instead of waiting for OK.
class ProgramTest : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!fs::exists(BinFolder() + "/tarnwell")) GTEST_SKIP() << "no program in " << BinFolder();
    if (!fs::exists(SimulatorPath())) GTEST_SKIP() << "no simulator at " << SimulatorPath();
  }

  // The shipped file when the build has made it, else a small one of our own.
  void PutLanguageFile(const std::string& name) {
    const std::string shipped = BinFolder() + "/" + name;
    if (fs::exists(shipped)) {
      fs::copy_file(shipped, dir_ / name, fs::copy_options::overwrite_existing);
    } else {
      WriteFile(dir_ / name, LanguageFileText("Port failure"));
    }
  }

  void Start() {
    ASSERT_TRUE(program_.Start(
        BinFolder() + "/tarnwell", {},
        {"TARNWELL_HOME=" + dir_.Path(), "TARNWELL_MESSAGE_LOG=" + dir_ / "messages.log",
         "QT_QPA_PLATFORM=offscreen", "LC_ALL=C"},
        dir_ / "out", dir_ / "err"));
  }

  // Ends the program as the system does at log-out; its exit code, -1 when it does not end.
  int Stop() {
    // Until its handler is in place a signal would kill it instead of closing the window.
    if (!WaitUntil([&] { return program_.Catches(SIGTERM); }, 10)) return -1;
    program_.Signal(SIGTERM);
    return program_.Wait(10).value_or(-1);
  }

  std::vector<std::string> Messages() const {
    return SplitLines(ReadFile(dir_ / "messages.log"), "\n");
  }
  std::string Config() const { return ReadFile(dir_ / "config.ini"); }

  // Every line of a written config.ini is its value directly followed by its own comment.
  std::vector<std::string> ConfigValues() const {
    const std::string text = Config();
    EXPECT_TRUE(CrLfLinesOnly(text));
    const auto lines = SplitLines(text, "\r\n");
    EXPECT_EQ(lines.size(), 39u);
    std::vector<std::string> values;
    for (std::size_t i = 0; i < lines.size() && i < 39; ++i) {
      const std::string comment = ConfigComment(static_cast<int>(i) + 1);
      const bool ends =
          lines[i].size() > comment.size() &&
          lines[i].compare(lines[i].size() - comment.size(), comment.size(), comment) == 0;
      EXPECT_TRUE(ends) << "line " << i + 1 << ": " << lines[i];
      values.push_back(ends ? lines[i].substr(0, lines[i].size() - comment.size()) : "");
    }
    values.resize(39);
    return values;
  }

  std::vector<fs::path> RecordFiles() const {
    std::vector<fs::path> files;
    if (!fs::exists(dir_ / "Log")) return files;
    for (const auto& entry : fs::directory_iterator(dir_ / "Log")) files.push_back(entry.path());
    return files;
  }

  TempDir dir_;
  SimProcess sim_{dir_.Path()};
  ChildProcess program_;
};

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
    return files.size() == 1 ? SplitLines(ReadFile(files[0]), "\r\n") : std::vector<std::string>{};
  };
  EXPECT_TRUE(WaitUntil([&] { return recorded().size() >= 301; }, 5)) << recorded().size();
  ASSERT_EQ(Stop(), 0);

  const auto files = RecordFiles();
  ASSERT_EQ(files.size(), 1u);
  const std::string name = files[0].filename().string();
  EXPECT_TRUE(std::regex_match(name, std::regex(R"(\d{14}\.txt)"))) << name;
  const std::string text = ReadFile(files[0]);
  EXPECT_TRUE(CrLfLinesOnly(text));
  const auto lines = SplitLines(text, "\r\n");
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
  ASSERT_EQ(Stop(), 0);
  const std::vector<std::string> told = {
      "Tarnwell\tCan not open " + dir_.Path() + "/config.ini file. The configuration file renewed.",
      "Language File Error\tCan not find the Turkish Language file, or the file is corrupted!"};
  EXPECT_EQ(Messages(), told);

  auto values = ConfigValues();
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
