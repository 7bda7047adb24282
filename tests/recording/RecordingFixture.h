// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "FakeClock.h"
#include "FakeFileSystem.h"
#include "FakeMessageBox.h"
#include "TestFiles.h"
#include "recording/RecordingControl.h"

namespace tarnwell::testing {

// A recording into Log/rec.txt of `files` (by default the in-memory one, in /prog), with a clock
// moved by hand.
struct RecordingRig {
  explicit RecordingRig(FileSystem* files = nullptr)
      : rec{config,    frame,    history, files ? *files : fs,       clock,
            regional,  messages, texts,   [this] { ++traceResets; }, [this] { return caption; },
            maxPending} {
    config.LogEnable = true;
    config.LogIncremental = false;
    config.LogFileName = "rec.txt";
    config.LogTime = 0;
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

  AppConfig config;
  FrameState frame;
  SampleHistory history;
  FakeClock clock;
  Regional regional;
  FakeMessageBox messages;
  LangTable texts;
  int traceResets = 0;
  std::string caption = "0";
  std::size_t maxPending = 1000;
  FakeFileSystem fs;
  RecordingControl rec;
};

// The recording on the in-memory file system, in /prog/Log/rec.txt.
class RecordingFixture : public ::testing::Test, public RecordingRig {
 protected:
  static constexpr const char* kPath = "/prog/Log/rec.txt";

  // Lines of the record file, each without its CR LF.
  std::vector<std::string> Lines() const {
    const auto it = fs.files.find(kPath);
    if (it == fs.files.end()) return {};
    auto lines = Split(it->second, "\r\n");
    if (!it->second.ends_with("\r\n") && !lines.empty()) lines.pop_back();
    return lines;
  }
  // The first field of every line.
  std::vector<int> Counts() const {
    std::vector<int> out;
    for (const auto& l : Lines()) out.push_back(std::stoi(l.substr(0, l.find('\t'))));
    return out;
  }
};

}  // namespace tarnwell::testing
