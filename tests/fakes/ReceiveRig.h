// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "FakeClock.h"
#include "FakeMessageBox.h"
#include "FakeSerialPort.h"
#include "acquisition/SerialLink.h"

namespace tarnwell::testing {

// The receive path behind a serial control, with text 5 "Port error".
struct ReceiveRig {
  ReceiveRig(SerialPort& port, const Clock& clock)
      : control{port}, link{port,  control,  config,   state, frames,
                            clock, regional, messages, texts} {
    texts.Set(5, "Port error");
    history.Resize(100);
    link.ResetReceiveState();
    link.SetDroppedFramesHandler([this](std::size_t n) { drops.emplace_back(values.size(), n); });
  }
  // Collects every frame's value, format and read instant as the record writer takes them.
  void RecordEveryFrame() {
    config.LogTime = 0;
    frames.SetRecording([] { return true; },
                        [this](Instant readAt) {
                          values.push_back(frame.CurrentValue), instants.push_back(readAt);
                          formats.push_back(frame.ValueFormat), onFrame ? onFrame() : void();
                        });
  }

  AppConfig config;
  ReceiveState state;
  FrameState frame;
  SampleHistory history;
  Regional regional;
  FrameHandler frames{config, frame, history, regional};
  FakeMessageBox messages;
  LangTable texts;
  PortControl control;
  SerialLink link;
  std::vector<double> values;
  std::vector<std::string> formats;
  std::vector<Instant> instants;
  // Frames the link dropped: how many values were taken before, and how many frames went.
  std::vector<std::pair<std::size_t, std::size_t>> drops;
  std::function<void()> onFrame;
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
