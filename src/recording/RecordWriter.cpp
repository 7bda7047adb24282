// SPDX-License-Identifier: GPL-3.0-or-later
#include "recording/RecordWriter.h"

#include <algorithm>

#include "acquisition/NumberFormat.h"
#include "recording/RecordLine.h"

namespace tarnwell {
namespace {

// A system clock that falls behind the steady clock by more than this was set back by a person.
constexpr std::chrono::seconds kSetBack{1};

std::chrono::milliseconds LeadOverSteady(const Clock& clock, std::int64_t steadyNow) {
  return clock.Now().time_since_epoch() - std::chrono::milliseconds(steadyNow);
}

}  // namespace

RecordWriter::RecordWriter(AppConfig& config, SampleHistory& history, RecordFile& file,
                           const Clock& clock, const Regional& regional)
    : config_(config), history_(history), file_(file), clock_(clock), regional_(regional) {}

void RecordWriter::Restart() {
  LogCount_ = 0;
  config_.LastLogTime.assign(1, '0');  // not = "0": GCC 12 warns falsely (-Wrestrict)
  lastLine_.reset();
  readingSinceStart_ = false;
}

Instant RecordWriter::LineTime(Instant at, std::int64_t steadyNow) const {
  if (!lastLine_ || at >= lastLine_->at) return at;
  // A frame read just before the line ahead was written carries the line's time. After the clock
  // was put back the lines follow it, rather than standing still until it has caught up.
  if (LeadOverSteady(clock_, steadyNow) < lastLine_->clockLead - kSetBack) return at;
  return lastLine_->at;
}

std::optional<std::int64_t> RecordWriter::SecondsSinceLastLine(Instant at,
                                                               std::int64_t steadyNow) const {
  using std::chrono::floor, std::chrono::seconds;
  if (!lastLine_) return std::nullopt;
  // Counting whole seconds of the clock keeps "one line per second, on the first run after the
  // second changed"; the steady clock keeps recording going when the clock is set back.
  const std::int64_t clockSeconds = (floor<seconds>(at) - floor<seconds>(lastLine_->at)).count();
  const std::int64_t steady = (steadyNow - lastLine_->steadyMs) / 1000;
  return std::max(clockSeconds, steady);
}

void RecordWriter::RunWriter(RecordingState state, std::optional<Instant> readAt) {
  const std::int64_t steadyNow = clock_.SteadyMs();
  const Instant at = LineTime(readAt.value_or(clock_.Now()), steadyNow);
  if (const auto t = SecondsSinceLastLine(at, steadyNow);
      t && config_.LogTime > static_cast<double>(*t)) {
    return;
  }
  if (!config_.LogEnable) return;
  if (state != RecordingState::kRecording) return;
  // Until a reading has come since the start, the current value is nothing the indicator sent now.
  if (!readingSinceStart_) return;

  const double value = current_;
  if (value < config_.LogThreshold) {
    MotionCount_ = 0;
    stableLogged_ = false;
    MotionRef_ = 0;
    LastLogValue_ = 0;
    return;
  }
  const double band = config_.LogVariation;
  if (band != 0 && value > LastLogValue_ - band && value < LastLogValue_ + band) return;

  if (config_.MotionTime == 0) {
    WriteLine(at, steadyNow);
    return;
  }
  if (MotionCount_ > config_.MotionTime * 10 && !stableLogged_) {
    stableLogged_ = true;
    WriteLine(at, steadyNow);
  } else if (value != MotionRef_) {
    MotionCount_ = 0;
    stableLogged_ = false;
    MotionRef_ = value;
  }
}

void RecordWriter::WriteLine(Instant at, std::int64_t steadyNow) {
  const double value = current_;
  // Store and advance before the file is touched: a failure message shown from the append runs
  // an event loop that may run the writer again, which must take the next slot.
  history_.Append(value, config_.NofSamples);
  LastLogValue_ = value;
  LogCount_ += 1;
  // One conversion to local time, last, for the line's date, time and milliseconds.
  const DateTime local = clock_.Local(at);
  config_.LastLogTime = DateTimeText(local, regional_);
  lastLine_ = LastLine{at, steadyNow, LeadOverSteady(clock_, steadyNow)};
  const auto text = FormatNumber(value, format_, regional_);
  file_.Append(RecordLine(LogCount_, text.value_or(std::string()), local, regional_));
}

}  // namespace tarnwell
