// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <gtest/gtest.h>
#include <signal.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "ChildProcess.h"
#include "SimProcess.h"
#include "TempDir.h"
#include "TestFiles.h"
#include "config/ConfigFile.h"

namespace tarnwell::testing {

namespace fs = std::filesystem;

inline std::string BinFolder() {
  const char* bin = std::getenv("TARNWELL_BIN");
  return bin && *bin ? bin : TARNWELL_BIN_BUILT;
}

inline std::vector<std::string> Fields(const std::string& line) { return Split(line, "\t"); }

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

  // With `boxes`, message boxes wait for OK as they do for an operator.
  void Start(bool boxes = false) { StartAs(program_, boxes); }
  void StartAs(ChildProcess& program, bool boxes = false) {
    ASSERT_TRUE(program.Start(
        BinFolder() + "/tarnwell", {},
        {"TARNWELL_HOME=" + dir_.Path(),
         boxes ? "TARNWELL_MESSAGE_LOG" : "TARNWELL_MESSAGE_LOG=" + dir_ / "messages.log",
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

  std::vector<std::string> Messages() const { return Split(ReadFile(dir_ / "messages.log"), "\n"); }
  std::string Config() const { return ReadFile(dir_ / "config.ini"); }

  // Every line of a written config.ini is its value directly followed by its own comment.
  std::vector<std::string> ConfigValues() const {
    const std::string text = Config();
    EXPECT_TRUE(CrLfLinesOnly(text));
    const auto lines = Split(text, "\r\n");
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

}  // namespace tarnwell::testing
