// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <vector>

#include "acquisition/FrameHandler.h"

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
  double Latest() const { return history.Slot(history.SampleIndex() - 1); }

  AppConfig config;
  FrameState state;
  SampleHistory history;
  Regional regional;
  FrameHandler handler{config, state, history, regional};
};

TEST_F(FrameHandlerTest, WindowsGiveTheDecimalsAndTheValue) {
  Frame("+0012.34\r");
  EXPECT_EQ(state.ValueFormat, "#0.00");
  EXPECT_EQ(Latest(), 12.34);

  // Cut by NofChars: the format window ends before the point, the value window on it.
  config.NofChars = Value::Text("6");
  Frame("+0012.34\r");
  EXPECT_EQ(state.ValueFormat, "#0");
  EXPECT_EQ(Latest(), 12);
  // The value window takes the next frame character, not the terminator.
  config.NofChars = 5;
  Frame("12.345678\r");
  EXPECT_EQ(state.ValueFormat, "#0.0");
  EXPECT_EQ(Latest(), 12.34);
  config.NofChars = 10;

  // A unit inside the window counts as decimals.
  Frame("1.23 kg\r");
  EXPECT_EQ(state.ValueFormat, "#0.00000");
  EXPECT_EQ(Latest(), 1.23);
  Frame("0.12345678\r");
  EXPECT_EQ(state.ValueFormat, "#0.");

  // CR LF: the line feed opens the next frame and changes neither decimals nor value.
  Frame("+0012.34\r\n-0003.5\r");
  EXPECT_EQ(state.ValueFormat, "#0.0");
  EXPECT_EQ(Latest(), -3.5);
  Frame("7\r\n- 4 2.5\x03");
  EXPECT_EQ(Latest(), -42.5);

  // An empty frame: an empty format window and the terminator alone as value.
  state.ValueFormat = "#0.00";
  Frame("5\r\r");
  EXPECT_EQ(state.ValueFormat, "#0");
  EXPECT_EQ(Latest(), 0);
  EXPECT_EQ(history.SampleIndex(), 8);

  // A NofChars that is not a number does not cut the frame.
  config.NofChars = Value::Text("ten");
  Frame("123456789012.5\r");
  EXPECT_EQ(state.ValueFormat, "#0.0");
  EXPECT_EQ(Latest(), 123456789012.5);
}

TEST_F(FrameHandlerTest, OmittedCharactersAndShortWindowsSkipTheirSteps) {
  config.OmitCh = 1;
  Frame("S+012.5\r");
  EXPECT_EQ(state.ValueFormat, "#0.0");
  EXPECT_EQ(Latest(), 12.5);

  // "1.5\r" has len 4. OmitCh 3: an empty format window, the terminator as value.
  config.OmitCh = 3;
  Frame("1.5\r");
  EXPECT_EQ(state.ValueFormat, "#0");
  EXPECT_EQ(Latest(), 0);

  // OmitCh equal to len: decimals unchanged, the value read from an empty window.
  state.ValueFormat = "#0.000";
  config.OmitCh = 4;
  Frame("1.5\r");
  EXPECT_EQ(state.ValueFormat, "#0.000");
  EXPECT_EQ(Latest(), 0);

  // OmitCh beyond len: the slot keeps its old content, but the write position moves on.
  history.SetSlot(history.SampleIndex(), 77);
  const int index = history.SampleIndex();
  config.OmitCh = 5;
  Frame("1.5\r");
  EXPECT_EQ(state.ValueFormat, "#0.000");
  EXPECT_EQ(history.Slot(index), 77);
  EXPECT_EQ(history.SampleIndex(), index + 1);

  // NofChars 0: decimals never change and every value reads as 0.
  config.OmitCh = 0;
  config.NofChars = 0;
  Frame("+0012.34\r");
  EXPECT_EQ(state.ValueFormat, "#0.000");
  EXPECT_EQ(Latest(), 0);

  // More than 255 decimals do not fit the pattern's argument: the pattern stays.
  config.NofChars = 400;
  Frame("1." + std::string(300, '5') + "\r");
  EXPECT_EQ(state.ValueFormat, "#0.000");
  EXPECT_DOUBLE_EQ(Latest(), 1.5555555555555556);

  // A number too large for a double is no weight: its slot keeps the old content too.
  for (const std::string& huge : {std::string("1e309\r"), std::string(400, '9') + "\r"}) {
    history.SetSlot(history.SampleIndex(), 77);
    Frame(huge);
    EXPECT_EQ(history.Slot(history.SampleIndex() - 1), 77) << huge;
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
  EXPECT_EQ(state.ValueFormat, "#0.0");
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

}  // namespace
}  // namespace tarnwell::testing
