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
    r.port.open = false, r.config.CommPort = Setting(port);
    r.link.PortConfig();
    if (r.config.CommPort.Equals(r.regional, 0)) r.control.Resume();
    std::string out =
        r.port.open ? std::to_string(r.port.commPort) + " " + r.port.settings : "shut";
    for (const auto& m : r.messages.shown) out += ", told " + m.text;
    return out;
  }));
}

// `text` with \\r, \\n, \\3 (ETX) and \\s (a blank) standing for their characters.
std::string Unescape(std::string text) {
  for (const auto& [escape, c] :
       {std::pair("\\r", '\r'), {"\\n", '\n'}, {"\\3", '\x03'}, {"\\s", ' '}})
    for (std::size_t at; (at = text.find(escape)) != std::string::npos;) text.replace(at, 2, 1, c);
  return text;
}

// The frames of a case of golden/frames.txt as value "pattern" pairs, and any cut of the stream
// in two that reads otherwise.
std::string Frames(const std::string& row) {
  std::istringstream in(row);
  std::string nofChars, stream;
  double omitCh;
  std::getline(in >> nofChars >> omitCh >> std::ws, stream);
  stream = Unescape(stream);
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
}

// Runs a case of golden/reads.txt on the receive path, into a ring of 3 samples that holds 77 in
// slot 2.
std::string Reads(const std::string& script) {
  FakeReceiveRig r;
  r.config.NofSamples = 3;
  r.history.Resize(4), r.history.SetSlot(2, 77);
  const Instant start = r.clock.now;
  std::string out, inside;
  r.onFrame = [&] {
    if (!inside.empty()) r.port.Receive(std::exchange(inside, ""));
  };
  std::istringstream in(script);
  for (std::string t; in >> t;) {
    const std::string text = Unescape(t.substr(std::min<std::size_t>(t.size(), 2)));
    if (t == "rec") r.RecordEveryFrame();
    if (t.starts_with("chars=")) r.config.NofChars = std::stoi(t.substr(6));
    if (t.starts_with("omit=")) r.config.OmitCh = std::stoi(t.substr(5));
    if (t.starts_with("a:")) r.port.Arrive(text);
    if (t.starts_with("r:")) r.port.Receive(text);
    if (t.starts_with("i:")) inside = text;
    if (t == "h") r.port.HandOver();
    if (t == "lose") r.port.Lose();
    if (t.starts_with("lose=")) r.port.Lose(std::stoul(t.substr(5)));
    if (t == "reopen") r.port.SetPortOpen(false), r.port.SetPortOpen(true);
    if (t[0] == '+') r.clock.Advance(std::stoi(t.substr(1)));
    if (t == "back") r.clock.now -= std::chrono::hours(1);
    if (t != "?") continue;
    out += std::to_string(r.route.Readings()) + " readings, " +
           (r.state.FramesPerSecond ? GoldenNumber(*r.state.FramesPerSecond) : "no") + "/s at " +
           r.state.SecondStamp + ", " + r.route.ValueFormat() + " [";
    for (double v : r.history.Samples()) out += " " + GoldenNumber(v);
    out += " ] at " + std::to_string(r.history.SampleIndex()) + "; ";
  }
  auto drop = r.drops.begin();
  for (std::size_t i = 0; i <= r.values.size(); ++i) {
    for (; drop != r.drops.end() && drop->first == i; ++drop)
      out += "-" + std::to_string(drop->second) + " ";
    if (i < r.values.size())
      out +=
          GoldenNumber(r.values[i]) + "@" + std::to_string((r.instants[i] - start).count()) + " ";
  }
  return out.substr(0, out.size() - 1);
}

TEST(Reads, SplitIntoFramesThatGoToTheHistoryOrTheRecordAtTheirReadsInstant) {
  EXPECT_TRUE(MatchesScript("acquisition/golden/reads.txt", Reads));
}

TEST(Reads, StreamWithoutTerminatorsKeepsOnlyItsLastCharacters) {
  FakeReceiveRig r;
  r.RecordEveryFrame();
  r.port.Receive("3\r" + std::string(1023, 'x') + "2");
  const std::size_t full = r.state.RxBuffer.size();
  r.port.Receive("y");
  const std::string kept = r.state.RxBuffer;
  r.port.Receive("\r4.5\r");
  EXPECT_EQ(std::tuple(full, kept, r.values),
            std::tuple(1024u, std::string(254, 'x') + "2y", std::vector<double>{3, 4.5}));
}

// Each hand-over's lines go to the record in one write, the first frame fills the trace once,
// and the port is told how long characters may wait: 8 ms while recording, else a refresh.
TEST(Reads, EachHandOverIsOneWriteAndPacesThePort) {
  FakeReceiveRig r;
  r.refreshTimer.interval = 50;
  r.port.Receive("1\r2\r");
  const int idleWait = r.port.maxWait;
  r.RecordEveryFrame();
  r.port.Receive("3\r"), r.port.Receive("4");
  EXPECT_EQ(std::tuple(r.holds, r.releases, r.traceResets, idleWait, r.port.maxWait),
            std::tuple(3, 3, 1, 50, 8));
}

}  // namespace
}  // namespace tarnwell::testing
