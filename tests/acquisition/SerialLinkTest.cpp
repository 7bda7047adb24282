// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "ReceiveRig.h"

namespace tarnwell::testing {
namespace {

using Values = std::vector<double>;

class SerialLinkTest : public ::testing::Test, public FakeReceiveRig {};

// The speeds themselves are one table in the header; 33600 is the one a reader would "correct".
TEST(BaudFor, ExactIndexTextsOnly) {
  EXPECT_EQ(BaudFor("5").speed, 33600);
  EXPECT_EQ(BaudFor("10").index, 10);
  for (const char* other : {"11", "", "03", " 3", "3.0"}) {
    EXPECT_EQ(BaudFor(other).speed, 9600) << '"' << other << '"';
    EXPECT_EQ(BaudFor(other).index, 3);
  }
}

TEST(PortConfig, OpensWithTheSpeedUsedOrTellsWhy) {
  const struct {
    Value port;
    const char* baud;
    const char* opened;  // port and settings, "" when the port stays closed
    const char* baudAfter;
    std::vector<std::string> told;
  } cases[] = {
      {2, "10", "2 921600,n,8,1", "10", {}},
      {2, "11", "2 9600,n,8,1", "3", {}},
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
    SCOPED_TRACE(c.port.ToText(r.regional) + " " + c.baud);
    const std::string opened = std::to_string(r.port.commPort) + " " + r.port.settings;
    EXPECT_EQ(r.port.open ? opened : "", c.opened);
    EXPECT_EQ(r.config.BaudIndex, c.baudAfter);
    std::vector<std::string> told;
    for (const auto& m : r.messages.shown) told.push_back(m.text);
    EXPECT_EQ(told, c.told);
    if (c.port.Equals(r.regional, 0)) {
      EXPECT_FALSE(r.link.OpenPort());
      EXPECT_FALSE(r.port.open);
      r.config.CommPort = 1;
      r.link.PortConfig();
      r.link.ClosePort();
      EXPECT_FALSE(r.link.OpenPort());
      EXPECT_TRUE(r.port.open);
    }
  }
}

// Regression for a fuzzing finding among them: a negative OmitCh read characters of the previous
// frame when it came in the same read, and a fractional one moved with the frame's place in the
// buffer, so one stream gave different readings depending on how the port split it.
TEST(ReceiveSplit, EveryStreamReadsTheSameWhereverThePortCutsIt) {
  const auto receive = [](double omitCh, const std::vector<std::string>& pieces) {
    FakeReceiveRig r;
    r.config.OmitCh = omitCh;
    r.RecordEveryFrame();
    for (const auto& p : pieces) r.port.Receive(p);
    return std::pair{r.values, r.formats};
  };
  const std::string odd = "+12.5\r-3.75\r7\r\r8.125\r";
  const struct {
    double omit;
    std::string stream;
    std::vector<double> values;
  } cases[] = {
      {0, "+0012.34\r+1.5\r+2.5\r+", {12.34, 1.5, 2.5}},
      // CR LF, ETX and CR end frames, two in a row make an empty one, a lone LF is dropped.
      {0,
       "+1.5\r\n+2.25\r\n7.125\x03"
       "5\r\r5\n6\r",
       {1.5, 2.25, 7.125, 5, 0, 56}},
      {-2, odd, {12.5, -3.75, 7, 0, 8.125}},    // nothing before a frame is read
      {-0.5, odd, {12.5, -3.75, 7, 0, 8.125}},  // rounds to 0
      {0.5, odd, {12.5, -3.75, 7, 0, 8.125}},   // halves go to even: 0
      {1.5, odd, {2.5, .75, 0, 0, 125}},        // 2
      {1, odd, {12.5, 3.75, 0, 0, 0.125}},
  };
  for (const auto& c : cases) {
    const auto whole = receive(c.omit, {c.stream});
    EXPECT_EQ(whole.first, c.values) << "OmitCh " << c.omit << " " << c.stream;
    for (std::size_t cut = 1; cut < c.stream.size(); ++cut) {
      for (std::size_t second = cut + 1; second < c.stream.size(); ++second) {
        const auto split = receive(
            c.omit,
            {c.stream.substr(0, cut), c.stream.substr(cut, second - cut), c.stream.substr(second)});
        ASSERT_EQ(split, whole) << "OmitCh " << c.omit << " cut at " << cut << ", " << second;
      }
    }
  }
}

TEST_F(SerialLinkTest, FirstFrameFillsTheTraceOnce) {
  int fills = 0;
  link.SetFirstFrameHandler([&] { ++fills, history.TraceFill(); });
  port.Receive("3\r");
  EXPECT_EQ(history.Slot(99), 3);
  port.Receive("4\r5\r");
  EXPECT_EQ(fills, 1);
  link.ResetReceiveState();
  port.Receive("6\r");
  EXPECT_EQ(fills, 2);
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
  EXPECT_EQ(state.SecondStamp, "31/01/2024 15:45:03");

  // No event for seconds: the figure stays until the next event rolls it over.
  clock.Advance(5000);
  EXPECT_EQ(state.FramesPerSecond, 3);
  port.Receive("5\r6\r");
  EXPECT_EQ(state.FramesPerSecond, 1);

  // A clock set back rolls over at once instead of freezing the figure.
  clock.SetLocalSeconds(WholeSeconds(clock.local) - 3600);
  port.Receive("7\r");
  EXPECT_EQ(state.FramesPerSecond, 2);
  EXPECT_EQ(state.SecondStamp, "31/01/2024 14:45:08");
  port.Receive("8\r");
  EXPECT_EQ(state.FramesPerSecond, 2);
}

TEST_F(SerialLinkTest, LineEventsDropTheirCharactersOnlyAndBreakReopens) {
  RecordEveryFrame();
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
  port.Receive(".5\r");
  EXPECT_EQ(values, Values{12.5});

  port.Receive("+3");
  port.Raise(comm::kBreak);
  EXPECT_TRUE(port.open);
  EXPECT_EQ(port.opens, 1);
  EXPECT_EQ(state.RxBuffer, "+3");
  port.open = false;
  port.Raise(comm::kBreak);
  EXPECT_FALSE(port.open);

  // The frame cut by the reopening does not run into the next one; nor does one cut when a
  // vanished device was opened again by the control itself.
  port.open = true;
  port.Receive("4\r+100");
  ++port.opens;
  port.Receive("+7\r");
  EXPECT_EQ(values, (Values{12.5, 4, 7}));
}

// Without terminators only the last characters are kept, however they come.
TEST_F(SerialLinkTest, StreamWithoutTerminatorsKeepsOnlyItsLastCharacters) {
  RecordEveryFrame();
  port.Receive(std::string(1024, '1'));
  EXPECT_EQ(state.RxBuffer.size(), 1024u);
  port.Receive("2");
  EXPECT_EQ(state.RxBuffer, std::string(255, '1') + "2");
  port.Receive("\r");
  port.Receive("3\r" + std::string(5000, 'x'));
  EXPECT_EQ(state.RxBuffer, std::string(256, 'x'));
  port.Receive("\r4.5\r");
  EXPECT_EQ(values, (Values{1111111111, 3, 0, 4.5}));
}

TEST_F(SerialLinkTest, EventRaisedWhileAFrameIsHandledWaitsForTheNextEvent) {
  // A message box shown by the record writer runs the event loop, which may deliver another
  // receive event before the first has finished cutting its buffer.
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
