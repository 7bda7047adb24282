// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "acquisition/FrameState.h"
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

// Decides on each run whether CurrentValue is recorded: the interval (LogTime), the enable
// switch, the recording state, the threshold, the dead band (LogVariation) and the stability
// time (MotionTime), in that order, once a reading has come since the start. A recorded value
// also goes into the sample history.
class RecordWriter {
 public:
  RecordWriter(AppConfig& config, const FrameState& frame, SampleHistory& history, RecordFile& file,
               const Clock& clock, const Regional& regional);

  // One run of the rules; lines are written only while `state` is recording. A line written for
  // a frame carries `readAt`, the instant its frame was read; otherwise the clock's now.
  void RunWriter(RecordingState state, std::optional<Instant> readAt = std::nullopt);
  void OnStabilityTick() { MotionCount_ += 1; }

  // The start of a recording: the count begins again and the first line is due with the first
  // reading that follows.
  void Restart();
  void ResetLastLogValue() { LastLogValue_ = 0; }
  // Lines that would have been written are missing: their counts are left out.
  void SkipLines(std::size_t count) { LogCount_ += static_cast<double>(count); }

  double LastLogValue() const { return LastLogValue_; }
  double MotionCount() const { return MotionCount_; }
  double MotionRef() const { return MotionRef_; }
  double StableLogged() const { return StableLogged_; }

 private:
  // The instant a line is stamped with: never before the line ahead, unless the clock was set
  // back since that line.
  Instant LineTime(Instant at, std::int64_t steadyNow) const;
  // Whole seconds since the last line; nothing when none was written since the start.
  std::optional<std::int64_t> SecondsSinceLastLine(Instant at, std::int64_t steadyNow) const;
  void WriteLine(Instant at, std::int64_t steadyNow);

  AppConfig& config_;
  const FrameState& frame_;
  SampleHistory& history_;
  RecordFile& file_;
  const Clock& clock_;
  const Regional& regional_;

  double LogCount_ = 0;
  double LastLogValue_ = 0;
  double MotionCount_ = 0;
  double MotionRef_ = 0;
  double StableLogged_ = 0;

  // The last line as LastLogTime holds it, its instant, and the steady clock and the system
  // clock's lead over it when it was written.
  struct LastLine {
    std::string text;
    Instant at;
    std::int64_t steadyMs = 0;
    std::chrono::milliseconds clockLead{};
  };
  std::optional<LastLine> lastLine_;
  std::uint64_t readingsAtStart_ = 0;
};

}  // namespace tarnwell
