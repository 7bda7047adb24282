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
#include "recording/RecordingControl.h"

namespace tarnwell::testing {

// A recording into /prog/Log/rec.txt of the fake file system, with a clock moved by hand.
class RecordingFixture : public ::testing::Test {
 protected:
  RecordingFixture() {
    config.LogEnable = true;
    config.LogIncremental = false;
    config.LogFileName = "rec.txt";
    config.LogTime = 0;
    history.Resize(100);
  }

  static constexpr const char* kPath = "/prog/Log/rec.txt";

  // Lines of the record file, each without its CR LF.
  std::vector<std::string> Lines() const {
    std::vector<std::string> out;
    const auto it = fs.files.find(kPath);
    if (it == fs.files.end()) return out;
    const std::string& s = it->second;
    for (std::size_t b = 0, e; (e = s.find("\r\n", b)) != std::string::npos; b = e + 2) {
      out.push_back(s.substr(b, e - b));
    }
    return out;
  }
  // The first field of every line.
  std::vector<int> Counts() const {
    std::vector<int> out;
    for (const auto& l : Lines()) out.push_back(std::stoi(l.substr(0, l.find('\t'))));
    return out;
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
  FakeFileSystem fs;
  FakeClock clock;
  Regional regional;
  FakeMessageBox messages;
  LangTable texts;
  int traceResets = 0;
  std::string caption = "0";
  std::size_t maxPending = 1000;
  RecordingControl rec{config,
                       frame,
                       history,
                       fs,
                       clock,
                       regional,
                       messages,
                       texts,
                       [this] { ++traceResets; },
                       [this] { return caption; },
                       maxPending};
};

}  // namespace tarnwell::testing
