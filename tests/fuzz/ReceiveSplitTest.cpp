// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "FakeClock.h"
#include "FakeMessageBox.h"
#include "FakeSerialPort.h"
#include "acquisition/SerialLink.h"

namespace tarnwell::testing {
namespace {

struct Readings {
  std::vector<double> values;
  std::vector<std::string> formats;
  friend bool operator==(const Readings&, const Readings&) = default;
};

// Sends `stream` in the given pieces with every frame recorded as it comes.
Readings Receive(double omitCh, const std::vector<std::string>& pieces) {
  FakeSerialPort port;
  AppConfig config;
  config.OmitCh = omitCh;
  config.LogEnable = true;
  config.LogTime = 0;
  ReceiveState state;
  FrameState frame;
  SampleHistory history;
  Regional regional;
  FakeClock clock;
  FakeMessageBox messages;
  LangTable texts;
  FrameHandler frames{config, frame, history, regional};
  PortControl control{port};
  SerialLink link{port, control, config, state, frames, clock, regional, messages, texts};
  Readings out;
  frames.SetRecording([] { return true; },
                      [&] {
                        out.values.push_back(frame.CurrentValue);
                        out.formats.push_back(frame.ValueFormat);
                      });
  link.ResetReceiveState();
  port.open = true;
  for (const auto& p : pieces) port.Receive(p);
  return out;
}

// Regression for a fuzzing finding: a negative OmitCh read characters of the previous frame
// when it came in the same read, and a fractional one moved with the frame's place in the
// buffer, so one stream gave different readings depending on how the port split it.
TEST(ReceiveSplit, OddOmitCountsReadTheSameWhereverTheStreamIsCut) {
  const std::string stream = "+12.5\r-3.75\r7\r\r8.125\r";
  struct Case {
    double omit;
    std::vector<double> values;
  };
  const Case cases[] = {
      {-2, {12.5, -3.75, 7, 0, 8.125}},    // nothing before a frame is read
      {-0.5, {12.5, -3.75, 7, 0, 8.125}},  // rounds to 0
      {0.5, {12.5, -3.75, 7, 0, 8.125}},   // halves go to even: 0
      {1.5, {2.5, .75, 0, 0, 125}},        // 2
      {1, {12.5, 3.75, 0, 0, 0.125}},
  };
  for (const Case& c : cases) {
    const Readings whole = Receive(c.omit, {stream});
    EXPECT_EQ(whole.values, c.values) << "OmitCh " << c.omit;
    for (std::size_t cut = 1; cut < stream.size(); ++cut) {
      for (std::size_t second = cut + 1; second < stream.size(); ++second) {
        const Readings split = Receive(
            c.omit,
            {stream.substr(0, cut), stream.substr(cut, second - cut), stream.substr(second)});
        EXPECT_EQ(split, whole) << "OmitCh " << c.omit << " cut at " << cut << ", " << second;
      }
    }
  }
}

}  // namespace
}  // namespace tarnwell::testing
