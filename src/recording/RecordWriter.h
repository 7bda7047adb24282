// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "acquisition/SampleHistory.h"
#include "config/AppConfig.h"
#include "platform/Clock.h"
#include "recording/RecordFile.h"

namespace tarnwell {

// The record timer paces a writer that records every LogTime seconds: it looks every 100 ms
// while LogTime is above 0. With 0, records follow the frames or the stability timer, and it stops.
inline int RecordTimerIntervalMs(double logTime) { return logTime > 0 ? 100 : 0; }

// Whether a recording runs: a file is open and lines may be written.
enum class RecordingState { kIdle, kRecording };

// Decides on each run whether the current value (the latest reading taken) is recorded: the
// interval (LogTime), the enable switch, the recording state, the threshold, the dead band
// (LogVariation) and the stability time (MotionTime), in that order, once a reading has come since
// the start. A recorded value also goes into the sample history.
class RecordWriter {
 public:
  RecordWriter(AppConfig& config, SampleHistory& history, RecordFile& file, const Clock& clock,
               const Regional& regional);

  // A reading while the recording runs, in the latest frame's number format.
  void Take(double value, const std::string& format) {
    current_ = value, format_ = format, readingSinceStart_ = true;
  }
  // What the display shows while recording: the latest reading, or until one comes `value`.
  double CurrentValue() const { return current_; }
  void ShowUntilFirstReading(double value) { current_ = value; }

  // One run of the rules; lines are written only while `state` is recording. A line written for
  // a frame carries `readAt`, the instant its frame was read; otherwise the clock's now.
  void RunWriter(RecordingState state, std::optional<Instant> readAt = std::nullopt);
  void OnStabilityTick() { MotionCount_ += 1; }

  // The start of a recording: the count begins again and the first line is due with the first
  // reading that follows. LastLogTime is "0", a moment long past.
  void Restart();
  void ResetLastLogValue() { LastLogValue_ = 0; }
  // Lines that would have been written are missing: their counts are left out.
  void SkipLines(std::size_t count) { LogCount_ += static_cast<double>(count); }

 private:
  // The instant a line is stamped with: never before the line ahead, unless the clock was set
  // back since that line.
  Instant LineTime(Instant at, std::int64_t steadyNow) const;
  // Whole seconds since the last line; nothing when none was written since the start.
  std::optional<std::int64_t> SecondsSinceLastLine(Instant at, std::int64_t steadyNow) const;
  void WriteLine(Instant at, std::int64_t steadyNow);

  AppConfig& config_;
  SampleHistory& history_;
  RecordFile& file_;
  const Clock& clock_;
  const Regional& regional_;

  double LogCount_ = 0;
  double LastLogValue_ = 0;
  double MotionCount_ = 0;
  double MotionRef_ = 0;
  // The value has stood still for MotionTime and its line is written; the next waits for a move.
  bool stableLogged_ = false;
  double current_ = 0;
  std::string format_;
  bool readingSinceStart_ = false;

  // The last line's instant, and the steady clock and the system clock's lead over it when it
  // was written.
  struct LastLine {
    Instant at;
    std::int64_t steadyMs = 0;
    std::chrono::milliseconds clockLead{};
  };
  std::optional<LastLine> lastLine_;
};

}  // namespace tarnwell
