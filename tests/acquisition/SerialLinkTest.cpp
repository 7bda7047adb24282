// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <vector>

#include "FakeClock.h"
#include "FakeMessageBox.h"
#include "FakeSerialPort.h"
#include "acquisition/SerialLink.h"

namespace tarnwell::testing {
namespace {

class SerialLinkTest : public ::testing::Test {
 protected:
  SerialLinkTest() {
    texts.Set(5, "Port error");
    history.Resize(100);
    link.SetFirstFrameHandler([this] {
      ++fills;
      history.TraceFill();
    });
    link.ResetReceiveState();
    port.open = true;
  }

  // Logs the value of every frame, in order, through the record writer's hook.
  void LogFrames() {
    config.LogEnable = true;
    config.LogTime = 0;
    frames.SetRecording([] { return true; }, [this] { values.push_back(frame.CurrentValue); });
  }

  FakeSerialPort port;
  AppConfig config;
  ReceiveState state;
  FrameState frame;
  SampleHistory history;
  Regional regional;
  FrameHandler frames{config, frame, history, regional};
  FakeClock clock;  // 31/01/2024 15:45:02.120
  FakeMessageBox messages;
  LangTable texts;
  PortControl control{port};
  SerialLink link{port, control, config, state, frames, clock, regional, messages, texts};
  int fills = 0;
  std::vector<double> values;
};

TEST(BaudFor, ExactIndexTextsOnlyAndTheirSettings) {
  const int speeds[] = {1200,  2400,   4800,   9600,   19200, 33600,
                        57600, 115200, 230400, 460800, 921600};
  for (int i = 0; i <= 10; ++i) {
    EXPECT_EQ(BaudFor(std::to_string(i)).speed, speeds[i]);
    EXPECT_EQ(BaudFor(std::to_string(i)).index, i);
  }
  for (const char* other : {"11", "", "03", " 3", "3.0"}) {
    EXPECT_EQ(BaudFor(other).speed, 9600) << '"' << other << '"';
    EXPECT_EQ(BaudFor(other).index, 3);
  }
  FakeSerialPort port;
  PortControl(port).SelectSpeed(115200);
  EXPECT_EQ(port.settings, "115200,n,8,1");
}

TEST_F(SerialLinkTest, PortConfigOpensWithTheSpeedUsedOrTellsWhy) {
  port.open = false;
  config.CommPort = 2;
  config.BaudIndex = "10";
  link.PortConfig();
  EXPECT_TRUE(port.open);
  EXPECT_EQ(port.commPort, 2);
  EXPECT_EQ(port.settings, "921600,n,8,1");
  EXPECT_EQ(config.BaudIndex, "10");

  port.open = false;
  config.BaudIndex = "11";
  link.PortConfig();
  EXPECT_EQ(port.settings, "9600,n,8,1");
  EXPECT_EQ(config.BaudIndex, "3");
  EXPECT_TRUE(messages.shown.empty());

  port.open = false;
  config.CommPort = Value::Text("9");
  link.PortConfig();
  EXPECT_FALSE(port.open);
  ASSERT_EQ(messages.shown.size(), 1u);
  EXPECT_EQ(messages.shown[0].text, "Port error  8002:Invalid port number");

  config.CommPort = Value::Text("COM1");
  link.PortConfig();
  EXPECT_FALSE(port.open);
  ASSERT_EQ(messages.shown.size(), 2u);
  EXPECT_EQ(messages.shown[1].text, "Port error  380:Invalid property value");

  // Port 0: no port chosen; closed without a message, and resuming does not open it.
  config.CommPort = Value::Text("0");
  config.BaudIndex = "x";
  link.PortConfig();
  EXPECT_FALSE(port.open);
  EXPECT_EQ(messages.shown.size(), 2u);
  EXPECT_EQ(config.BaudIndex, "3");
  EXPECT_FALSE(link.OpenPort());
  EXPECT_FALSE(port.open);

  config.CommPort = 1;
  link.PortConfig();
  link.ClosePort();
  EXPECT_FALSE(port.open);
  EXPECT_FALSE(link.OpenPort());
  EXPECT_TRUE(port.open);
}

TEST_F(SerialLinkTest, FramesSplitOrPackedAreCutAtTheirTerminators) {
  LogFrames();
  port.Receive("+0012");
  port.Receive(".34");
  EXPECT_TRUE(values.empty());
  port.Receive("\r");
  EXPECT_EQ(values, (std::vector<double>{12.34}));
  EXPECT_EQ(state.RxBuffer, "");

  port.Receive("+1.5\r+2.5\r+");
  EXPECT_EQ(values, (std::vector<double>{12.34, 1.5, 2.5}));
  EXPECT_EQ(state.RxBuffer, "+");
  EXPECT_EQ(state.FrameCount, 3);
}

TEST_F(SerialLinkTest, CrEtxAndCrLfEndFramesAndTwoInARowMakeAnEmptyOne) {
  LogFrames();
  port.Receive("+1.5\r\n+2.25\r\n");
  EXPECT_EQ(values, (std::vector<double>{1.5, 2.25}));
  EXPECT_EQ(state.RxBuffer, "\n");
  port.Receive("7.125\x03");
  port.Receive("5\r\r");
  EXPECT_EQ(values, (std::vector<double>{1.5, 2.25, 7.125, 5, 0}));
  // A lone line feed is an ordinary character, dropped when the number is read.
  port.Receive("5\n6\r");
  EXPECT_EQ(values.back(), 56);
  EXPECT_EQ(state.FrameCount, 6);
}

TEST_F(SerialLinkTest, FirstFrameFillsTheTraceOnce) {
  port.Receive("3\r");
  EXPECT_EQ(fills, 1);
  EXPECT_EQ(history.Slot(99), 3);
  port.Receive("4\r5\r");
  EXPECT_EQ(fills, 1);
  EXPECT_EQ(history.Slot(1), 5);
  EXPECT_EQ(history.Slot(2), 3);

  link.ResetReceiveState();
  port.Receive("6\r");
  EXPECT_EQ(fills, 2);
  EXPECT_EQ(history.Slot(50), 6);
}

TEST_F(SerialLinkTest, FramesMarkDataAliveAndRollTheRateOverOnAChangeOfSecond) {
  state.SilentTicks = 25;
  port.Receive("1.0");
  EXPECT_FALSE(state.DataAlive);
  EXPECT_EQ(state.SilentTicks, 25);
  port.Receive("\r2\r3\r");
  EXPECT_TRUE(state.DataAlive);
  EXPECT_EQ(state.SilentTicks, 0);
  EXPECT_FALSE(state.FramesPerSecond);

  clock.Advance(900);  // 15:45:03.020: the next second has begun
  port.Receive("4\r");
  EXPECT_EQ(state.FramesPerSecond, 3);
  EXPECT_EQ(state.FrameCount, 1);
  EXPECT_EQ(state.SecondStamp, "31/01/2024 15:45:03");

  // No event for seconds: the figure stays until the next event rolls it over.
  clock.Advance(5000);
  EXPECT_EQ(state.FramesPerSecond, 3);
  port.Receive("5\r6\r");
  EXPECT_EQ(state.FramesPerSecond, 1);
  EXPECT_EQ(state.FrameCount, 2);

  // A clock set back rolls over at once instead of freezing the figure.
  clock.SetLocalSeconds(WholeSeconds(clock.local) - 3600);
  port.Receive("7\r");
  EXPECT_EQ(state.FramesPerSecond, 2);
  EXPECT_EQ(state.SecondStamp, "31/01/2024 14:45:08");
  port.Receive("8\r");
  EXPECT_EQ(state.FramesPerSecond, 2);
  EXPECT_EQ(state.FrameCount, 2);
}

TEST_F(SerialLinkTest, LineEventsDropTheirCharactersOnlyAndBreakReopens) {
  LogFrames();
  port.Receive("+12");
  for (std::int16_t code :
       {comm::kFrame, comm::kOverrun, comm::kRxOver, comm::kRxParity, comm::kDcb}) {
    port.pending = "#garbage";
    port.Raise(code);
    EXPECT_EQ(port.pending, "") << code;
  }
  for (std::int16_t code :
       {comm::kSend, comm::kCts, comm::kDsr, comm::kCd, comm::kRing, comm::kEof, comm::kTxFull}) {
    port.pending = "9\r";
    port.Raise(code);
    EXPECT_EQ(port.pending, "9\r") << code;
  }
  port.pending.clear();
  EXPECT_EQ(state.RxBuffer, "+12");
  port.Receive(".5\r");
  EXPECT_EQ(values, (std::vector<double>{12.5}));

  const int opens = port.opens;
  port.Receive("+3");
  port.Raise(comm::kBreak);
  EXPECT_TRUE(port.open);
  EXPECT_EQ(port.opens, opens + 1);
  EXPECT_EQ(state.RxBuffer, "+3");
  port.open = false;
  port.Raise(comm::kBreak);
  EXPECT_FALSE(port.open);
  EXPECT_EQ(port.opens, opens + 1);

  // The frame cut by the reopening does not run into the next one; nor does one cut when a
  // vanished device was opened again by the control itself.
  port.open = true;
  port.Receive("4\r+100");
  ++port.opens;
  port.Receive("+7\r");
  EXPECT_EQ(values, (std::vector<double>{12.5, 4, 7}));
}

TEST_F(SerialLinkTest, StreamWithoutTerminatorsKeepsOnlyItsLastCharacters) {
  LogFrames();
  port.Receive(std::string(1024, '1'));
  EXPECT_EQ(state.RxBuffer.size(), 1024u);
  port.Receive("2");
  EXPECT_EQ(state.RxBuffer, std::string(255, '1') + "2");
  port.Receive("\r");
  EXPECT_EQ(values, (std::vector<double>{1111111111}));
  EXPECT_EQ(state.RxBuffer, "");

  port.Receive("3\r" + std::string(5000, 'x'));
  EXPECT_EQ(state.RxBuffer, std::string(256, 'x'));
  port.Receive("\r4.5\r");
  EXPECT_EQ(values, (std::vector<double>{1111111111, 3, 0, 4.5}));
  EXPECT_EQ(state.RxBuffer, "");
}

TEST_F(SerialLinkTest, EventRaisedWhileAFrameIsHandledWaitsForTheNextEvent) {
  // A message box shown by the record writer runs the event loop, which may deliver another
  // receive event before the first has finished cutting its buffer.
  config.LogEnable = true;
  config.LogTime = 0;
  bool nested = false;
  frames.SetRecording([] { return true; },
                      [&] {
                        values.push_back(frame.CurrentValue);
                        if (!nested) {
                          nested = true;
                          port.Receive("9\r");
                        }
                      });
  port.Receive("1\r2\r");
  EXPECT_EQ(values, (std::vector<double>{1, 2}));
  EXPECT_EQ(port.pending, "9\r");
  port.Raise(comm::kReceive);
  EXPECT_EQ(values, (std::vector<double>{1, 2, 9}));
}

}  // namespace
}  // namespace tarnwell::testing
