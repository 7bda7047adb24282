// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <string>
#include <tuple>
#include <vector>

#include "ReceiveRig.h"

namespace tarnwell::testing {
namespace {

using Values = std::vector<double>;

class SerialLinkTest : public ::testing::Test, public FakeReceiveRig {};

// BaudIndex takes the exact texts "0" to "10" only; 5 is 33600, not 38400.
TEST(PortConfig, OpensWithTheSpeedUsedOrTellsWhy) {
  const struct {
    Value port;
    const char* baud;
    const char* opened;  // port and settings, "" when the port stays closed
    const char* baudAfter;
    std::vector<std::string> told;
  } cases[] = {
      {2, "10", "2 921600,n,8,1", "10", {}},
      {2, "5", "2 33600,n,8,1", "5", {}},
      {2, "11", "2 9600,n,8,1", "3", {}},
      {2, "03", "2 9600,n,8,1", "3", {}},
      {Value::Text("9"), "3", "", "3", {"Port error  8002:Invalid port number"}},
      {Value::Text("COM1"), "3", "", "3", {"Port error  380:Invalid property value"}},
      // No port chosen: closed without a message, and resuming does not open it.
      {Value::Text("0"), "x", "", "3", {}},
  };
  for (const auto& c : cases) {
    FakeReceiveRig r;
    r.port.open = false;
    r.config.CommPort = c.port;
    r.config.BaudIndex = c.baud;
    r.link.PortConfig();
    if (c.port.Equals(r.regional, 0)) r.link.OpenPort();
    std::vector<std::string> told;
    for (const auto& m : r.messages.shown) told.push_back(m.text);
    const std::string opened = std::to_string(r.port.commPort) + " " + r.port.settings;
    EXPECT_EQ(std::tuple(r.port.open ? opened : "", r.config.BaudIndex, told),
              std::tuple(c.opened, c.baudAfter, c.told))
        << c.port.ToText(r.regional) << " " << c.baud;
  }
}

// Frames mark the link alive; a change of second, also to an earlier one when the clock is set
// back, makes the frames counted so far the rate. The first frame after a reset fills the trace.
TEST_F(SerialLinkTest, FramesMarkTheLinkAliveAndGiveTheRateOfTheSecondBefore) {
  int fills = 0;
  link.SetFirstFrameHandler([&] { ++fills; });
  const auto marks = [&] {
    return std::tuple(state.DataAlive, state.SilentTicks, state.FramesPerSecond.value_or(-1),
                      state.SecondStamp);
  };
  const std::string start = "31/01/2024 15:45:02";
  state.SilentTicks = 25;
  port.Receive("1.0");
  EXPECT_EQ(marks(), std::tuple(false, 25, -1, start));
  port.Receive("\r2\r3\r");
  EXPECT_EQ(marks(), std::tuple(true, 0, -1, start));
  clock.Advance(900);  // 15:45:03.020
  port.Receive("4\r");
  EXPECT_EQ(marks(), std::tuple(true, 0, 3, "31/01/2024 15:45:03"));
  clock.Advance(5000);
  port.Receive("5\r6\r");
  clock.SetLocalSeconds(WholeSeconds(clock.local) - 3600);
  port.Receive("7\r");
  port.Receive("8\r");
  EXPECT_EQ(marks(), std::tuple(true, 0, 2, "31/01/2024 14:45:08"));
  link.ResetReceiveState();
  port.Receive("9\r");
  EXPECT_EQ(fills, 2);
}

// Line errors drop the characters waiting in the port, other line events leave them; a break
// reopens an open port. The frame cut by a reopening, the link's own or the control's after a
// vanished device, does not run into the next one.
TEST_F(SerialLinkTest, LineEventsDropTheirCharactersOnlyAndBreakReopens) {
  RecordEveryFrame();
  port.Receive("+12");
  std::vector<int> dropping;
  for (std::int16_t code = 0; code < 1100; ++code) {
    if (code == comm::kReceive || code == comm::kBreak) continue;
    port.pending = "#";
    port.Raise(code);
    if (port.pending.empty()) dropping.push_back(code);
  }
  EXPECT_EQ(dropping, (std::vector<int>{comm::kFrame, comm::kOverrun, comm::kRxOver,
                                        comm::kRxParity, comm::kDcb}));
  port.pending.clear();
  port.Receive(".5\r+3");
  port.Raise(comm::kBreak);
  EXPECT_EQ(std::tuple(port.open, port.opens), std::tuple(true, 1));
  port.Receive("4\r+100");
  ++port.opens;
  port.Receive("+7\r");
  EXPECT_EQ(values, (Values{12.5, 4, 7}));
  port.open = false;
  port.Raise(comm::kBreak);
  EXPECT_FALSE(port.open);
}

TEST_F(SerialLinkTest, StreamWithoutTerminatorsKeepsOnlyItsLastCharacters) {
  RecordEveryFrame();
  port.Receive(std::string(1024, '1'));
  EXPECT_EQ(state.RxBuffer.size(), 1024u);
  port.Receive("2");
  EXPECT_EQ(state.RxBuffer, std::string(255, '1') + "2");
  port.Receive("\r3\r" + std::string(5000, 'x'));
  EXPECT_EQ(state.RxBuffer, std::string(256, 'x'));
  port.Receive("\r4.5\r");
  EXPECT_EQ(values, (Values{1111111111, 3, 0, 4.5}));
}

// A message box shown by the record writer runs the event loop, which may deliver another
// receive event before the first has finished cutting its buffer.
TEST_F(SerialLinkTest, EventRaisedWhileAFrameIsHandledWaitsForTheNextEvent) {
  RecordEveryFrame();
  onFrame = [&] {
    if (values.size() == 1) port.Receive("9\r");
  };
  port.Receive("1\r2\r");
  EXPECT_EQ(values, (Values{1, 2}));
  port.Raise(comm::kReceive);
  EXPECT_EQ(values, (Values{1, 2, 9}));
}

}  // namespace
}  // namespace tarnwell::testing
