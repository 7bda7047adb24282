// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <charconv>
#include <sstream>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include "Golden.h"
#include "ReceiveRig.h"

namespace tarnwell::testing {
namespace {

using Values = std::vector<double>;
using Strings = std::vector<std::string>;

class SerialLinkTest : public ::testing::Test, public FakeReceiveRig {};

// A number, or config.ini's text when quoted.
Value Setting(const std::string& token) {
  return token[0] == '"' ? Value::Text(token.substr(1, token.size() - 2)) : Value(std::stoi(token));
}

TEST(PortConfig, OpensWithTheSpeedUsedOrTellsWhy) {
  EXPECT_TRUE(MatchesScript("acquisition/golden/ports.txt", [](const std::string& row) {
    FakeReceiveRig r;
    std::istringstream in(row);
    std::string port;
    in >> port >> r.config.BaudIndex;
    r.port.open = false;
    r.config.CommPort = Setting(port);
    r.link.PortConfig();
    if (r.config.CommPort.Equals(r.regional, 0)) r.link.OpenPort();
    std::string out =
        r.port.open ? std::to_string(r.port.commPort) + " " + r.port.settings : "shut";
    out += ", BaudIndex " + r.config.BaudIndex;
    for (const auto& m : r.messages.shown) out += ", told " + m.text;
    return out;
  }));
}

// The frames of a case of golden/frames.txt as value "pattern" pairs, and any cut of the stream
// in two that reads otherwise.
std::string Frames(const std::string& row) {
  std::istringstream in(row);
  std::string nofChars, stream;
  double omitCh;
  std::getline(in >> nofChars >> omitCh >> std::ws, stream);
  for (const auto& [escape, c] : {std::pair("\\r", '\r'), {"\\n", '\n'}, {"\\3", '\x03'}})
    for (std::size_t at; (at = stream.find(escape)) != std::string::npos;)
      stream.replace(at, 2, 1, c);
  const auto receive = [&](std::size_t cut) {
    FakeReceiveRig r;
    r.config.NofChars = Setting(nofChars);
    r.config.OmitCh = omitCh;
    r.RecordEveryFrame();
    r.port.Receive(stream.substr(0, cut));
    if (cut < stream.size()) r.port.Receive(stream.substr(cut));
    std::string out;
    for (std::size_t i = 0; i < r.values.size(); ++i) {
      char number[32];
      *std::to_chars(number, number + 31, r.values[i]).ptr = 0;
      out += std::string(i ? ", " : "") + number + " \"" + r.formats[i] + "\"";
    }
    return out;
  };
  const std::string whole = receive(stream.size());
  std::string out = whole;
  for (std::size_t cut = 1; cut < stream.size(); ++cut)
    if (receive(cut) != whole) out += "; cut at " + std::to_string(cut);
  return out;
}

TEST(Frames, GiveTheirValueAndDecimalsWhereverThePortCutsTheStream) {
  EXPECT_TRUE(MatchesScript("acquisition/golden/frames.txt", Frames));
  // More than 255 decimals do not fit the pattern's argument: the pattern stays.
  EXPECT_EQ(Frames("400 0 1." + std::string(300, '5') + "\\r" + std::string(400, '9') + "\\r"),
            "1.5555555555555556 \"\"");
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
