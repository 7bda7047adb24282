// SPDX-License-Identifier: GPL-3.0-or-later
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <limits>
#include <optional>
#include <string>
#include <vector>

#include "acquisition/FrameHandler.h"
#include "acquisition/NumberFormat.h"
#include "acquisition/SampleHistory.h"

namespace tarnwell::testing {
namespace {

class FrameHandlerTest : public ::testing::Test {
 protected:
  FrameHandlerTest() { history.Resize(10); }

  // Hands the last frame of `buffer` (which ends with its terminator) to the handler; the frame
  // starts after the previous CR or ETX.
  void Frame(const std::string& buffer) {
    const auto before = buffer.find_last_of("\r\x03", buffer.size() - 2);
    const std::size_t start = before == std::string::npos ? 1 : before + 2;
    handler.HandleFrame(buffer, start, buffer.size());
  }

  AppConfig config;
  FrameState state;
  SampleHistory history;
  Regional regional;
  FrameHandler handler{config, state, history, regional};
};

// Frames handled one after another: NofChars cuts the format window before the point and the
// value window on it, OmitCh skips characters at the start, and a short window skips its step.
TEST_F(FrameHandlerTest, WindowsGiveTheDecimalsAndTheValue) {
  const std::optional<double> kKept;  // the slot keeps its old content, the position moves on
  const struct {
    Value nofChars;
    double omit;
    std::string preset, buffer, format;  // the format before and after; "" not looked at
    std::optional<double> latest;
  } steps[] = {
      {10, 0, "", "+0012.34\r", "#0.00", 12.34},
      {Value::Text("6"), 0, "", "+0012.34\r", "#0", 12},
      {5, 0, "", "12.345678\r", "#0.0", 12.34},    // the value window takes the next character
      {10, 0, "", "1.23 kg\r", "#0.00000", 1.23},  // a unit inside the window counts
      {10, 0, "", "0.12345678\r", "#0.", 0.12345678},
      // CR LF: the line feed opens the next frame and changes neither decimals nor value.
      {10, 0, "", "+0012.34\r\n-0003.5\r", "#0.0", -3.5},
      {10, 0, "", "7\r\n- 4 2.5\x03", "#0.0", -42.5},
      // An empty frame: an empty format window and the terminator alone as value.
      {10, 0, "#0.00", "5\r\r", "#0", 0},
      {Value::Text("ten"), 0, "", "123456789012.5\r", "#0.0", 123456789012.5},  // not cut
      {10, 1, "", "S+012.5\r", "#0.0", 12.5},
      {10, 3, "", "1.5\r", "#0", 0},            // OmitCh 3 of len 4: an empty format window
      {10, 4, "#0.000", "1.5\r", "#0.000", 0},  // OmitCh len: decimals unchanged
      {10, 5, "", "1.5\r", "#0.000", kKept},    // beyond len
      {0, 0, "", "+0012.34\r", "#0.000", 0},    // NofChars 0: decimals stay, values read 0
      // More than 255 decimals do not fit the pattern's argument: the pattern stays.
      {400, 0, "", "1." + std::string(300, '5') + "\r", "#0.000", 1.5555555555555556},
      // A number too large for a double is no weight.
      {400, 0, "", "1e309\r", "", kKept},
      {400, 0, "", std::string(400, '9') + "\r", "", kKept},
  };
  for (const auto& s : steps) {
    config.NofChars = s.nofChars;
    config.OmitCh = s.omit;
    if (!s.preset.empty()) state.ValueFormat = s.preset;
    const int index = history.SampleIndex();
    history.SetSlot(index, 77);
    Frame(s.buffer);
    SCOPED_TRACE(::testing::PrintToString(s.buffer));
    if (!s.format.empty()) {
      EXPECT_EQ(state.ValueFormat, s.format);
    }
    EXPECT_DOUBLE_EQ(history.Slot(index), s.latest.value_or(77));
    EXPECT_EQ(history.SampleIndex(), (index + 1) % 10);
  }
}

TEST_F(FrameHandlerTest, DuringARecordingTheValueGoesToCurrentValue) {
  bool recording = true;
  std::vector<double> written;
  handler.SetRecording([&] { return recording && config.LogEnable; },
                       [&] { written.push_back(state.CurrentValue); });
  config.LogEnable = true;
  config.LogTime = 0;
  Frame("+0012.34\r");
  Frame("1\r-3.5\r");
  EXPECT_EQ(written, (std::vector<double>{12.34, -3.5}));
  EXPECT_EQ(history.SampleIndex(), 0);
  EXPECT_EQ(history.Slot(0), 0);

  // A lost value keeps the previous one, and the writer still runs.
  config.OmitCh = 9;
  Frame("8\r");
  config.OmitCh = 0;
  Frame("1e309\r");
  EXPECT_EQ(written, (std::vector<double>{12.34, -3.5, -3.5, -3.5}));

  // With a record interval the writer runs on its own timer.
  config.LogTime = 1;
  Frame("4\r");
  EXPECT_EQ(state.CurrentValue, 4);
  EXPECT_EQ(written.size(), 4u);
  EXPECT_EQ(history.SampleIndex(), 0);

  // Recording not allowed, or not running: the history takes the value.
  config.LogEnable = false;
  Frame("5\r");
  recording = false;
  config.LogEnable = true;
  Frame("6\r");
  EXPECT_EQ(history.Slot(0), 5);
  EXPECT_EQ(history.Slot(1), 6);
  EXPECT_EQ(state.CurrentValue, 4);
  EXPECT_EQ(written.size(), 4u);
}

// The patterns per decimal count are pinned by the frames above.
TEST(Find_Dot, CountsEveryCharacterAfterTheFirstPoint) {
  for (const auto& [text, decimals] : {std::pair{".", 0}, {".5", 1}, {"1.2.3", 3}, {"12,34", 0}}) {
    EXPECT_EQ(Find_Dot(text), decimals) << text;
  }
}

TEST(FormatNumber, RoundsHalfAwayFromZeroWithTheRegionalSeparator) {
  const Regional point{'.', '/'};
  const struct {
    double value;
    const char *pattern, *text;
  } cases[] = {{12.345, "#0.00", "12.35"}, {2.675, "#0.00", "2.68"},  {9.995, "#0.00", "10.00"},
               {-2.5, "#0", "-3"},         {-0.004, "#0.00", "0.00"}, {12.6, "#0.", "13."},
               {0.25, "0", "0"},           {12.5, "", "12.5"}};
  for (const auto& c : cases) {
    EXPECT_EQ(FormatNumber(c.value, c.pattern, point), c.text) << c.value << " " << c.pattern;
  }
  EXPECT_EQ(FormatNumber(1e20, "#0.0", point), "100000000000000000000.0");
  EXPECT_EQ(FormatNumber(9.995, "#0.00", Regional{',', '.'}), "10,00");
  EXPECT_EQ(FormatNumber(12.5, "", Regional{',', '.'}), "12,5");
  EXPECT_FALSE(FormatNumber(std::numeric_limits<double>::infinity(), "#0", point));
  EXPECT_FALSE(FormatNumber(std::numeric_limits<double>::quiet_NaN(), "", point));
  EXPECT_EQ(FormatNumber(std::numeric_limits<double>::max(), "#0", point)->size(), 309u);
  EXPECT_EQ(FormatNumber(std::numeric_limits<double>::denorm_min(), "#0.00", point), "0.00");
}

using ::testing::ElementsAre;

TEST(SampleHistory, RingWrapsAtNofSamplesAndNeverWritesTheTopSlot) {
  SampleHistory h;
  h.Resize(4);
  for (double v : {1, 2, 3, 4}) h.Append(v, 4);
  EXPECT_THAT(h.Samples(), ElementsAre(1, 2, 3, 4, 0));
  EXPECT_EQ(h.SampleIndex(), 0);
  h.Append(5, 4);
  EXPECT_THAT(h.Samples(), ElementsAre(5, 2, 3, 4, 0));
  EXPECT_EQ(h.SampleIndex(), 1);

  // A count above the ring's size still stops below the top slot.
  SampleHistory big;
  big.Resize(3);
  for (double v : {1, 2, 3, 4, 5}) big.Append(v, 100);
  EXPECT_THAT(big.Samples(), ElementsAre(4, 5, 3, 0));
  EXPECT_EQ(big.SampleIndex(), 2);

  // A smaller count wraps early; a lost value still moves the write position on.
  SampleHistory small;
  small.Resize(5);
  small.Append(1, 3);
  small.Skip(3);
  small.Append(3, 3);
  EXPECT_EQ(small.SampleIndex(), 0);
  small.Append(4, 3);
  EXPECT_THAT(small.Samples(), ElementsAre(4, 0, 3, 0, 0, 0));
}

TEST(SampleHistory, TraceFillSpreadsTheLatestValueAndRestartsAtSlotZero) {
  SampleHistory h;
  h.Resize(5);
  h.SetSlot(5, 99);
  for (double v : {1, 2, 3}) h.Append(v, 5);
  h.TraceFill();
  EXPECT_THAT(h.Samples(), ElementsAre(3, 3, 3, 3, 3, 99));
  EXPECT_EQ(h.SampleIndex(), 0);
  h.Append(8, 5);
  EXPECT_THAT(h.Samples(), ElementsAre(8, 3, 3, 3, 3, 99));

  // With SampleIndex 0 there is no latest value to move: slot 0 is spread as it stands.
  h.SetSampleIndex(0);
  h.SetSlot(0, 6);
  h.TraceFill();
  EXPECT_THAT(h.Samples(), ElementsAre(6, 6, 6, 6, 6, 99));
}

TEST(SampleHistory, ResizeKeepsTheValuesHeld) {
  SampleHistory h;
  h.Resize(50);
  for (int i = 0; i < 50; ++i) h.Append(i + 1, 100);
  h.Resize(100);
  EXPECT_EQ(h.UB(), 100);
  EXPECT_EQ(h.Slot(49), 50);
  EXPECT_EQ(h.Slot(100), 0);
  EXPECT_EQ(h.SampleIndex(), 0);

  h.Resize(10);
  EXPECT_THAT(h.Samples(), ElementsAre(1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11));

  // Growing for a new count: the slots above the old top take its value.
  h.ResizeFilling(14, 10);
  EXPECT_THAT(h.Samples(), ElementsAre(1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 11, 11, 11, 11));
  h.ResizeFilling(16, -1);
  EXPECT_EQ(h.Slot(15), 0);
  h.Resize(-3);
  EXPECT_EQ(h.UB(), 0);
}

}  // namespace
}  // namespace tarnwell::testing
