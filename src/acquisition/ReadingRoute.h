// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>

#include "acquisition/Reading.h"
#include "acquisition/Recorder.h"
#include "acquisition/SampleHistory.h"
#include "config/AppConfig.h"
#include "platform/SerialPort.h"
#include "platform/Timer.h"

namespace tarnwell {

// Where every frame the link cuts goes, in one place. A reading sets the number format and
// marks the display alive; it goes to the trend history, or while a recording runs to the
// recorder, which keeps in the history what it records. A frame without a reading leaves the
// history's slot as it was, outside a recording. After each hand-over the port is told how long
// received characters may wait.
class ReadingRoute : public FrameSink {
 public:
  // `resetTrace` fills the trace with the first frame's value (the graph's double click).
  ReadingRoute(const AppConfig& config, SampleHistory& history, Recorder& recorder,
               SerialPort& port, const Timer& refreshTimer, std::function<void()> resetTrace);

  void HandOverStarts() override { recorder_.HoldLines(); }
  void HandOverEnds() override;
  void Frame(const std::optional<Reading>& reading) override;
  void FirstFrame() override;
  void FramesLost(std::size_t count) override { recorder_.FramesDropped(count); }

  // The display needs the characters only once per refresh; while recording, the latest value
  // should be no older than 10 ms, as a line's time is its frame's read.
  void PaceReads();

  // The number format of the latest reading that could tell it; empty (general) before.
  const std::string& ValueFormat() const { return valueFormat_; }
  // The value the large digits show: the recorder's while recording, else the history's latest.
  std::optional<double> ShownValue() const;
  // Readings so far: the display looks alive while this count moves.
  std::uint64_t Readings() const { return readings_; }

 private:
  static constexpr int kRecordingWaitMs = 8;

  const AppConfig& config_;
  SampleHistory& history_;
  Recorder& recorder_;
  SerialPort& port_;
  const Timer& refreshTimer_;
  std::function<void()> resetTrace_;
  std::string valueFormat_;
  std::uint64_t readings_ = 0;
};

}  // namespace tarnwell
