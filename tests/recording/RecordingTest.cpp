// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <functional>
#include <sstream>
#include <tuple>
#include <vector>

#include "FakeClock.h"
#include "FakeFileSystem.h"
#include "FakeMessageBox.h"
#include "Golden.h"
#include "TestFiles.h"
#include "acquisition/NumberFormat.h"
#include "recording/RecordLine.h"
#include "recording/RecordingControl.h"

namespace tarnwell::testing {
namespace {

using Texts = std::vector<std::string>;

// Recording into Log/rec.txt of the in-memory /prog, with room for 4 refused lines and a clock
// moved by hand. Its message box runs an event loop while it is up, as
// the toolkit's does: `during` runs inside the next box.
struct RecordingRig : MessageBox {
  RecordingRig()
      : rec{config, history, fs, clock, regional, *this, texts, [this] { ++traceResets; }, 4} {
    config.LogEnable = true, config.LogIncremental = false, config.LogTime = 0;
    config.LogFileName = "rec.txt";
    history.Resize(100);
    texts.Set(90, "failed"), texts.Set(91, "lost"), texts.Set(95, "again");
    texts.Set(96, "dropped");
  }
  // A reading of `value` arriving while recording, as the reading route passes it on.
  void Frame(double value) {
    if (syncsFail) fs.finishedSync = false;
    rec.Take(value, "", clock.now);
  }
  // `n` tenths of a second with both timers ticking.
  void Ticks(int n) {
    for (; n > 0; --n)
      clock.Advance(100), rec.OnStabilityTick(), config.LogTime > 0 ? rec.RunWriter() : void();
  }
  std::string File() { return fs.files["/prog/Log/rec.txt"]; }
  // Each message, after a bar for each box it is shown in.
  void Show(const std::string& text, const std::string&) override {
    shown.push_back(std::string(++depth, '|') + " " + text);
    if (during) std::exchange(during, nullptr)();
    --depth;
  }
  // Each line as count:value@time, the seconds alone within 15:45, then the messages.
  std::string Lines() {
    std::string out;
    for (const auto& line : Split(File(), "\r\n")) {
      const auto f = Split(line, "\t");
      if (f.size() == 5)
        out += f[0] + ":" + f[1] + "@" + (f[3].starts_with("15:45:") ? f[3].substr(6) : f[3]) +
               "." + f[4] + " ";
    }
    for (const auto& m : shown) out += m.substr(0, m.find(" /prog/Log/rec.txt")) + " ";
    return out;
  }
  // Runs `script` a token at a time, as golden/writer.txt tells.
  std::string Run(const std::string& script) {
    std::istringstream in(script);
    for (std::string t; in >> t;) {
      if (t == "s") rec.StartRecording();
      if (t == "on" || t == "off") config.LogEnable = t == "on";
      if (t.starts_with("back"))
        clock.now -= std::chrono::milliseconds(t == "back" ? 3600000 : std::stoi(t.substr(5)));
      if (t == "full" || t == "free") fs.full = t == "full";
      if (t == "hold" || t == "release") t == "hold" ? rec.HoldLines() : rec.ReleaseLines();
      if (t == "flush") rec.Flush();
      if (t == "close") shown.push_back(rec.Close() ? "closed" : "closed short");
      if (t == "{") std::getline(in, t, '}'), during = [this, t] { Run(t); };
      if (t[0] == '+') Ticks(std::stoi(t.substr(1)));
      if (t == "fail") fs.backgroundSyncs = syncsFail = true;
      if (t == "synced" || t == "unsynced") syncsFail = false, fs.finishedSync = t == "synced";
      if (t[0] == '@')
        rec.Take(rec.CurrentValue(), "",
                 clock.now + std::chrono::milliseconds(std::stoi(t.substr(1))));
      if (t.starts_with("summer=") || t.starts_with("winter=")) {
        clock.zone = [change = clock.now + std::chrono::milliseconds(std::stoi(t.substr(7))),
                      summer = t[0] == 's'](Instant at) {
          return std::chrono::hours(summer ^ (at >= change));
        };
      }
      if (t.starts_with("drop=")) rec.FramesDropped(std::stoul(t.substr(5)));
      if (t == "y") shown.push_back("syncs " + std::to_string(fs.syncs));
      if (t == "h") shown.push_back("h");
      for (int i = 0; t == "h" && i < history.SampleIndex(); ++i)
        shown.back() += " " + FormatNumber(history.Slot(i), "", regional).value();
      if (t.find_first_not_of("-.0123456789*") != std::string::npos) continue;
      const auto star = t.find('*');
      if (star == std::string::npos) Frame(std::stod(t));
      for (int i = star == std::string::npos ? 0 : std::stoi(t.substr(star + 1)); i > 0; --i)
        Ticks(1), Frame(std::stod(t));
    }
    return Lines();
  }

  AppConfig config;
  SampleHistory history;
  FakeClock clock;
  Regional regional;
  Texts shown;
  std::function<void()> during;
  int depth = 0, traceResets = 0;
  bool syncsFail = false;
  LangTable texts;
  FakeFileSystem fs;
  RecordingControl rec;
};

class Recording : public ::testing::Test, public RecordingRig {};

// The writer's rules and the file's keeping of refused lines, each script's whole outcome.
TEST(RecordWriter, RulesChooseTheLinesAndAFullDiskKeepsThemInOrder) {
  EXPECT_TRUE(MatchesScript("recording/golden/writer.txt", [](const std::string& row) {
    RecordingRig r;
    std::istringstream in(row);
    in >> r.config.LogTime >> r.config.LogThreshold >> r.config.LogVariation >> r.config.MotionTime;
    std::string out = r.Run(row.substr(row.find(':') + 1));
    return out.substr(0, out.find_last_not_of(' ') + 1);
  }));
}

// The file is continued without running into a line cut in an earlier run, and named afresh
// when incremental or when its name from config.ini would leave the record folder. Its first line
// is the first frame after the start, in the general format while no frame has set one.
TEST_F(Recording, StartOpensOrNamesTheFileAndWritesTheFirstFrameFirst) {
  config.LogEnable = false, rec.StartRecording(), config.LogEnable = true;
  fs.files["/prog/Log"] = "";   // a file where the folder should be
  texts.Set(92, "No folder:");  // text 93 is missing: a fixed text says it all the same
  rec.StartRecording();
  fs.files.erase("/prog/Log"), fs.folders.insert("/prog/Log"), fs.readOnly = true;
  rec.StartRecording();
  EXPECT_EQ(shown, (Texts{"| No folder: /prog/Log",
                          "| The record file cannot be opened: /prog/Log/rec.txt"}));
  fs.readOnly = false;
  for (const char* cut : {"7", "8\r", ""})
    fs.files["/prog/Log/rec.txt"] += cut, rec.StartRecording(), Frame(1250.5);
  EXPECT_EQ(std::tuple(traceResets, config.LastLogTime, history.Slot(0), rec.Recording()),
            std::tuple(3, std::string("31/01/2024 15:45:02"), 1250.5, true));
  config.LogEnable = false;
  EXPECT_FALSE(rec.Recording());
  config.LogEnable = true;
  for (const char* name : {"/tmp/x.txt", "..", "sub\\x.txt", "", "batch..2024.txt"})
    config.LogFileName = name, rec.StartRecording(), Frame(1250.5);
  config.LogIncremental = config.AdvancedMode = true,
  config.LogFileType = RecordFileType::kSpreadsheet;
  rec.StartRecording(), Frame(1250.5);
  std::string files;
  for (const auto& [path, bytes] : fs.files) files += "== " + path + "\n" + bytes;
  EXPECT_TRUE(MatchesGolden("recording/golden/start.txt", files));
}

// Until its first reading a recording shows the latest reading the display had: the history's,
// or, when it follows a recording that ran, that recording's. No line is written from it.
TEST_F(Recording, UntilItsFirstReadingARecordingShowsTheLatestReadingAndWritesNone) {
  std::vector<double> shownValues;
  config.LogEnable = false;
  rec.StartRecording();
  history.Append(7.5, 100);
  config.LogEnable = true;
  rec.StartRecording();
  shownValues.push_back(rec.CurrentValue());
  Frame(8.25);
  rec.StartRecording();
  shownValues.push_back(rec.CurrentValue());
  EXPECT_EQ(shownValues, (std::vector<double>{7.5, 8.25}));
  const std::string written = File();
  EXPECT_EQ(std::count(written.begin(), written.end(), '\n'), 1) << written;
}

// Torn down without a close while the disk is full, a recording shows no message: no box may open
// while the program ends. What the disk took stays.
TEST_F(Recording, EndingWithoutACloseTellsNothing) {
  std::size_t told = 0;
  {
    RecordingControl ending{config, history, fs, clock, regional, *this, texts, nullptr, 1};
    ending.StartRecording(), ending.Take(1, "", clock.now);
    fs.full = true;
    for (double v : {2, 3, 4}) ending.Take(v, "", clock.now);  // one kept, two lost
    told = shown.size();
  }
  const std::string file = File();
  EXPECT_EQ(std::tuple(std::count(file.begin(), file.end(), '\n'), shown.size()),
            std::tuple(1, told));
}

// Leading zeros everywhere, a two-digit year, and a count that does not turn into 1E+06.
TEST(RecordLine, FieldsAndSeparatorsByteForByte) {
  EXPECT_EQ(RecordLine(1000000, "-3", DateTime{2009, 3, 4, 0, 5, 9, 7}, Regional{}) +
                RecordLine(12, "", DateTime{2000, 12, 9, 23, 59, 59, 999}, Regional{',', '.'}),
            "1000000\t-3\t04/03/09\t00:05:09\t007\r\n12\t\t09.12.00\t23:59:59\t999\r\n");
}

}  // namespace
}  // namespace tarnwell::testing
