// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <limits>
#include <string>
#include <utility>
#include <vector>

#include "ReceiveRig.h"
#include "acquisition/NumberFormat.h"

namespace tarnwell::testing {
namespace {

using Values = std::vector<double>;

// Each frame's value and decimals as the record writer takes them. NofChars cuts the format
// window before the point and the value window on it, OmitCh skips characters at the start, and
// a window that cannot be taken or a number too large for a double keeps the previous value.
// Regression for a fuzzing finding among them: a negative OmitCh read characters of the previous
// frame when it came in the same read, and a fractional one moved with the frame's place in the
// buffer, so one stream gave different readings depending on how the port split it.
TEST(Frames, GiveTheirValueAndDecimalsWhereverThePortCutsTheStream) {
  const auto receive = [](Value nofChars, double omitCh, const std::vector<std::string>& pieces) {
    FakeReceiveRig r;
    r.config.NofChars = nofChars;
    r.config.OmitCh = omitCh;
    r.RecordEveryFrame();
    for (const auto& p : pieces) r.port.Receive(p);
    std::string formats;
    for (std::size_t i = 0; i < r.formats.size(); ++i) formats += (i ? " " : "") + r.formats[i];
    return std::pair{r.values, formats};
  };
  // CR LF, ETX and CR end frames, two in a row make an empty one, a lone LF is dropped.
  const std::string ends = "+1.5\r\n- 2.25\r\n7.125\x03\r5\n6\r";
  const std::string odd = "+12.5\r-3.75\r7\r\r8.125\r";
  const std::string oddFormats = "#0.0 #0.00 #0 #0 #0.000";
  const struct {
    Value nofChars;
    double omit;
    std::string stream;
    Values values;
    std::string formats;
  } cases[] = {
      {10, 0, "+0012.34\r", {12.34}, "#0.00"},
      {Value::Text("6"), 0, "+0012.34\r", {12}, "#0"},
      {5, 0, "12.345678\r", {12.34}, "#0.0"},    // the value window takes the next character
      {10, 0, "1.23 kg\r", {1.23}, "#0.00000"},  // a unit inside the window counts
      {10, 0, "0.12345678\r", {0.12345678}, "#0."},
      {10, 0, "1.2.3\r", {1.2}, "#0.000"},
      {Value::Text("ten"), 0, "123456789012.5\r", {123456789012.5}, "#0.0"},  // not cut
      {0, 0, "+0012.34\r", {0}, ""},
      {10, 0, ends, {1.5, -2.25, 7.125, 0, 56}, "#0.0 #0.00 #0.000 #0 #0"},
      {10, -2, odd, {12.5, -3.75, 7, 0, 8.125}, oddFormats},   // nothing before a frame is read
      {10, 0.5, odd, {12.5, -3.75, 7, 0, 8.125}, oddFormats},  // halves go to even: 0
      {10, 1.5, odd, {2.5, .75, 0, 0, 125}, "#0.0 #0.00 #0.00 #0.00 #0"},  // 2
      {10, 3, "1.5\r", {0}, "#0"},                                         // an empty format window
      {10, 4, "1234.567\r1.5\r", {0.567, 0}, "#0.000 #0.000"},             // no format window
      {10, 5, "123456.5\r1.5\r", {6.5, 6.5}, "#0.0 #0.0"},                 // no value window either
      {10, 0, "2\r1e309\r", {2, 2}, "#0 #0"},
      // More than 255 decimals do not fit the pattern's argument: the pattern stays.
      {400, 0, "1." + std::string(300, '5') + "\r", {1.5555555555555556}, ""},
  };
  for (const auto& c : cases) {
    const auto whole = receive(c.nofChars, c.omit, {c.stream});
    EXPECT_EQ(whole, std::pair(c.values, c.formats)) << "OmitCh " << c.omit << " " << c.stream;
    for (std::size_t cut = 1; cut < c.stream.size() && c.stream.size() < 40; ++cut) {
      for (std::size_t second = cut + 1; second < c.stream.size(); ++second) {
        const auto split = receive(
            c.nofChars, c.omit,
            {c.stream.substr(0, cut), c.stream.substr(cut, second - cut), c.stream.substr(second)});
        ASSERT_EQ(split, whole) << "OmitCh " << c.omit << " cut at " << cut << ", " << second;
      }
    }
  }
}

// Without a recording the history takes each value, a lost one leaves its slot and the ring
// wraps at NofSamples; a recording on its own timer takes the value alone.
TEST(Frames, GoToTheHistoryUnlessARecordingTakesThem) {
  FakeReceiveRig r;
  bool recording = false;
  int writes = 0;
  r.frames.SetRecording([&] { return recording; }, [&] { ++writes; });
  r.config.NofSamples = 3;
  r.history.Resize(4);
  r.history.SetSlot(1, 77);
  r.port.Receive("5\r1e309\r6\r");
  recording = true;
  r.port.Receive("4\r");
  EXPECT_EQ(r.history.Samples(), (Values{5, 77, 6, 0, 0}));
  EXPECT_EQ(std::tuple(r.history.SampleIndex(), r.frame.CurrentValue, writes),
            std::tuple(0, 4.0, 0));
}

TEST(FormatNumber, RoundsHalfAwayFromZeroWithTheRegionalSeparator) {
  const Regional comma{',', '.'};
  const struct {
    double value;
    const char *pattern, *text;
  } cases[] = {{2.675, "#0.00", "2,68"},
               {9.995, "#0.00", "10,00"},
               {-2.5, "#0", "-3"},
               {-0.004, "#0.00", "0,00"},
               {12.6, "#0.", "13,"},
               {12.5, "", "12,5"},
               {1e20, "#0.0", "100000000000000000000,0"},
               {std::numeric_limits<double>::denorm_min(), "#0.00", "0,00"}};
  for (const auto& c : cases) {
    EXPECT_EQ(FormatNumber(c.value, c.pattern, comma), c.text) << c.value << " " << c.pattern;
  }
  EXPECT_FALSE(FormatNumber(std::numeric_limits<double>::infinity(), "#0", comma));
  EXPECT_EQ(FormatNumber(std::numeric_limits<double>::max(), "#0", comma)->size(), 309u);
}

// The ring never writes its top slot, whatever the count; resizing keeps the values held.
TEST(SampleHistory, RingStopsBelowTheTopSlotAndResizingKeepsTheValues) {
  SampleHistory h;
  h.Resize(3);
  for (double v : {1, 2, 3, 4, 5}) h.Append(v, 100);
  h.Skip(2);
  h.Append(6, 2);
  EXPECT_EQ(h.Samples(), (Values{6, 5, 3, 0}));
  EXPECT_EQ(h.SampleIndex(), 1);
  h.ResizeFilling(5, -1);
  h.SetSampleIndex(0);
  h.TraceFill();  // no latest value before slot 0: slot 0 is spread as it stands
  EXPECT_EQ(h.Samples(), (Values{6, 6, 6, 6, 6, 0}));
  h.Resize(1);
  EXPECT_EQ(h.Samples(), (Values{6, 6}));
  h.Resize(-3);
  EXPECT_EQ(h.UB(), 0);
}

}  // namespace
}  // namespace tarnwell::testing
