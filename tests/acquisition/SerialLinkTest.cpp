// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include "ReceiveRig.h"

namespace tarnwell::testing {
namespace {

using Values = std::vector<double>;
using Strings = std::vector<std::string>;

class SerialLinkTest : public ::testing::Test, public FakeReceiveRig {};

// BaudIndex takes the exact texts "0" to "10" only; 5 is 33600, not 38400.
TEST(PortConfig, OpensWithTheSpeedUsedOrTellsWhy) {
  const std::tuple<Value, const char*, const char*, const char*, Strings> cases[] = {
      {2, "5", "2 33600,n,8,1", "5", {}},
      {2, "11", "2 9600,n,8,1", "3", {}},
      {2, "05", "2 9600,n,8,1", "3", {}},
      {Value::Text("COM1"), "3", "", "3", {"Port error  380:Invalid property value"}},
      {Value::Text("0"), "x", "", "3", {}},  // none: no message, and resuming does not open it
  };
  for (const auto& [port, baud, opened, baudAfter, told] : cases) {
    FakeReceiveRig r;
    r.port.open = false;
    r.config.CommPort = port;
    r.config.BaudIndex = baud;
    r.link.PortConfig();
    if (port.Equals(r.regional, 0)) r.link.OpenPort();
    Strings shown;
    for (const auto& m : r.messages.shown) shown.push_back(m.text);
    const std::string settings = std::to_string(r.port.commPort) + " " + r.port.settings;
    EXPECT_EQ(std::tuple(r.port.open ? settings : "", r.config.BaudIndex, shown),
              std::tuple(opened, baudAfter, told))
        << port.ToText(r.regional) << " " << baud;
  }
}

// Each frame's value and decimals as the record writer takes them, wherever the port cuts the
// stream (a fuzzing finding: a fractional OmitCh read differently depending on the cut). A
// window that cannot be taken or a number too large for a double is no reading: no line.
TEST(Frames, GiveTheirValueAndDecimalsWhereverThePortCutsTheStream) {
  const auto receive = [](Value nofChars, double omitCh, const Strings& pieces) {
    FakeReceiveRig r;
    r.config.NofChars = nofChars;
    r.config.OmitCh = omitCh;
    r.RecordEveryFrame();
    for (const auto& p : pieces) r.port.Receive(p);
    return std::pair{r.values, r.formats};
  };
  // CR LF, ETX and CR end frames, two in a row make an empty one, a lone LF is dropped.
  const std::string ends = "+1.5\r\n- 2.25\r\n7.125\x03\r5\n6\r";
  const std::string odd = "+12.5\r-3.75\r7\r\r8.125\r";
  const std::tuple<Value, double, std::string, Values, Strings> cases[] = {
      {Value::Text("6"), 0, "+0012.34\r", {12}, {"#0"}},
      {5, 0, "12.345678\r", {12.34}, {"#0.0"}},    // the value window takes the next character
      {10, 0, "1.23 kg\r", {1.23}, {"#0.00000"}},  // a unit inside the window counts
      {10, 0, "0.12345678\r", {0.12345678}, {"#0."}},
      {10, 0, "1.2.3\r", {1.2}, {"#0.000"}},
      {Value::Text("ten"), 0, "123456789012.5\r", {123456789012.5}, {"#0.0"}},  // not cut
      {0, 0, "+0012.34\r", {0}, {""}},
      {10, 0, ends, {1.5, -2.25, 7.125, 0, 56}, {"#0.0", "#0.00", "#0.000", "#0", "#0"}},
      // OmitCh rounds halves to even: 0.5 skips nothing, 1.5 two characters.
      {10, 0.5, odd, {12.5, -3.75, 7, 0, 8.125}, {"#0.0", "#0.00", "#0", "#0", "#0.000"}},
      {10, 1.5, odd, {2.5, .75, 0, 125}, {"#0.0", "#0.00", "#0.00", "#0"}},
      {10, 3, "1.5\r", {0}, {"#0"}},                                 // an empty format window
      {10, 4, "1234.567\r1.5\r", {0.567, 0}, {"#0.000", "#0.000"}},  // no format window
      {10, 5, "123456.5\r1.5\r", {6.5}, {"#0.0"}},                   // no value window either
      {10, 0, "2\r1e309\r-1e309\r", {2}, {"#0"}},
      // More than 255 decimals do not fit the pattern's argument: the pattern stays.
      {400,
       0,
       "1." + std::string(300, '5') + "\r" + std::string(400, '9') + "\r",
       {1.5555555555555556},
       {""}},
  };
  for (const auto& [nofChars, omit, stream, values, formats] : cases) {
    const auto whole = receive(nofChars, omit, {stream});
    EXPECT_EQ(whole, std::pair(values, formats)) << "OmitCh " << omit << " " << stream;
    for (std::size_t cut = 1; cut < stream.size(); ++cut) {
      ASSERT_EQ(receive(nofChars, omit, {stream.substr(0, cut), stream.substr(cut)}), whole)
          << "OmitCh " << omit << " cut at " << cut << " " << stream;
    }
  }
}

// Without a recording the history takes each value, an unreadable one leaves its slot and the
// decimals, and the ring wraps at NofSamples. A change of second, also back to an earlier one,
// makes the count the rate.
TEST_F(SerialLinkTest, FramesGoToTheHistoryAndGiveTheRateOfTheSecondBefore) {
  const auto marks = [&] {
    return std::tuple(state.DataAlive, state.SilentTicks, state.FramesPerSecond.value_or(-1),
                      state.SecondStamp);
  };
  config.NofSamples = 3;
  history.Resize(4);
  history.SetSlot(2, 77);
  port.Receive("5\r6.5\r1.5e309\r");
  EXPECT_EQ(marks(), std::tuple(true, 0, -1, "31/01/2024 15:45:02"));
  EXPECT_EQ(std::tuple(history.Samples(), history.SampleIndex(), frame.ValueFormat),
            std::tuple(Values{5, 6.5, 77, 0, 0}, 0, "#0.0"));
  clock.Advance(900);  // 15:45:03.020
  port.Receive("4\r");
  EXPECT_EQ(marks(), std::tuple(true, 0, 3, "31/01/2024 15:45:03"));
  clock.Advance(5000);
  port.Receive("5\r6\r");
  clock.now -= std::chrono::hours(1);
  port.Receive("7\r");
  port.Receive("8\r");
  EXPECT_EQ(marks(), std::tuple(true, 0, 2, "31/01/2024 14:45:08"));
}

// Each frame carries the instant of the read that brought its end. A frame cut where the device
// was opened again does not run into the next one; lost characters take the frame they cut and
// the rest of the one whose beginning they took, also when that ends in a later hand-over. A
// hand-over asked for from inside the frame handler waits until the buffer is cut.
TEST_F(SerialLinkTest, FramesCarryTheirReadsInstantAndGapsDropWhatTheyCut) {
  using std::chrono::milliseconds;
  RecordEveryFrame();
  const Instant t = clock.now;
  port.Arrive("1\r2");
  clock.Advance(5);
  port.Arrive(".5\r3\r");
  onFrame = [&] {
    if (values.size() == 1) port.Receive("9\r");
  };
  port.HandOver();
  onFrame = {};
  port.HandOver();
  port.Receive("+12");
  port.SetPortOpen(false), port.SetPortOpen(true);
  port.Receive("4\r+100");
  port.Lose(), port.Receive("55");
  clock.Advance(5);
  port.Receive(".5\r7\r");
  EXPECT_EQ(values, (Values{1, 2.5, 3, 9, 4, 7}));
  const Instant t5 = t + milliseconds(5), t10 = t + milliseconds(10);
  EXPECT_EQ(instants, (std::vector<Instant>{t, t5, t5, t5, t5, t10}));
}

TEST_F(SerialLinkTest, StreamWithoutTerminatorsKeepsOnlyItsLastCharacters) {
  RecordEveryFrame();
  port.Receive("3\r" + std::string(1023, 'x') + "2");
  EXPECT_EQ(state.RxBuffer.size(), 1024u);
  port.Receive("y");
  EXPECT_EQ(state.RxBuffer, std::string(254, 'x') + "2y");
  port.Receive("\r4.5\r");
  EXPECT_EQ(values, (Values{3, 0, 4.5}));
}

}  // namespace
}  // namespace tarnwell::testing
