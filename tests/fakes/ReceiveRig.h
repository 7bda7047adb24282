// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "FakeClock.h"
#include "FakeMessageBox.h"
#include "FakeSerialPort.h"
#include "FakeTimer.h"
#include "acquisition/ReadingRoute.h"
#include "acquisition/SerialLink.h"

namespace tarnwell::testing {

// A recording that takes every reading it is handed, with its format and read instant.
struct FakeRecorder : Recorder {
  bool Recording() const override { return recording; }
  void Take(double value, const std::string& format, Instant readAt) override {
    values.push_back(value), formats.push_back(format), instants.push_back(readAt);
    if (onFrame) onFrame();
  }
  double CurrentValue() const override { return values.empty() ? 0 : values.back(); }
  void FramesDropped(std::size_t n) override { drops.emplace_back(values.size(), n); }
  void HoldLines() override { ++holds; }
  void ReleaseLines() override { ++releases; }

  bool recording = false;
  std::vector<double> values;
  std::vector<std::string> formats;
  std::vector<Instant> instants;
  // Frames the link dropped: how many values were taken before, and how many frames went.
  std::vector<std::pair<std::size_t, std::size_t>> drops;
  int holds = 0, releases = 0;
  std::function<void()> onFrame;
};

// The receive path behind a serial control, with text 5 "Port error": the link, the route of
// its readings into a history of 100 samples, and a recording that takes each reading.
struct ReceiveRig : FakeRecorder {
  ReceiveRig(SerialPort& port, const Clock& clock)
      : route{config, history, *this, port, refreshTimer, countTraceReset},
        control{port},
        link{port, control, config, route, clock, regional, messages, texts} {
    texts.Set(5, "Port error");
    history.Resize(100);
    link.ResetReceiveState();
  }
  void RecordEveryFrame() { recording = true; }

  AppConfig config;
  SampleHistory history;
  Regional regional;
  FakeTimer refreshTimer;
  int traceResets = 0;
  std::function<void()> countTraceReset = [this] { ++traceResets; };
  ReadingRoute route;
  FakeMessageBox messages;
  LangTable texts;
  PortControl control;
  SerialLink link;
  const ReceiveState& state = link.Receive();
};

struct FakeLine {
  FakeSerialPort port;
  FakeClock clock;  // 31/01/2024 15:45:02.120
};

// The receive path on a scripted, open port.
struct FakeReceiveRig : FakeLine, ReceiveRig {
  FakeReceiveRig() : ReceiveRig(port, clock) { port.open = true, port.clock = &clock; }
};

}  // namespace tarnwell::testing
