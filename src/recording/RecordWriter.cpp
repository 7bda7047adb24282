// SPDX-License-Identifier: GPL-3.0-or-later
#include "recording/RecordWriter.h"

#include <algorithm>

#include "acquisition/NumberFormat.h"
#include "recording/RecordLine.h"

namespace tarnwell {

RecordWriter::RecordWriter(AppConfig& config, const FrameState& frame, SampleHistory& history,
                           RecordFile& file, const Clock& clock, const Regional& regional)
    : config_(config),
      frame_(frame),
      history_(history),
      file_(file),
      clock_(clock),
      regional_(regional) {}

void RecordWriter::Restart() {
  LogCount_ = 0;
  config_.LastLogTime.assign(1, '0');  // not = "0": GCC 12 warns falsely (-Wrestrict)
  lastLine_.reset();
}

std::optional<std::int64_t> RecordWriter::SecondsSinceLastLine(const DateTime& now,
                                                               std::int64_t steadyNow) const {
  // A LastLogTime that is not the text of our last line ("0" after a start, or changed from
  // outside) is a moment long past.
  if (!lastLine_ || lastLine_->text != config_.LastLogTime) return std::nullopt;
  // Counting calendar seconds keeps "one line per second, on the first run after the second
  // changed"; the steady clock keeps recording going when the clock is set back.
  const std::int64_t calendar = SecondsBetween(lastLine_->local, now);
  const std::int64_t steady = (steadyNow - lastLine_->steadyMs) / 1000;
  return std::max(calendar, steady);
}

void RecordWriter::TimerLog_Timer(double recState) {
  // A frame's line carries the time the frame came, not the time its batch was read, and never
  // a time before the line ahead of it.
  std::int64_t steadyNow = clock_.SteadyMs();
  auto ago = static_cast<std::int64_t>(frame_.ArrivedMsAgo);
  if (lastLine_) ago = std::min(ago, std::max<std::int64_t>(0, steadyNow - lastLine_->steadyMs));
  const DateTime now = MsBefore(clock_.LocalNow(), ago);
  steadyNow -= ago;
  if (const auto t = SecondsSinceLastLine(now, steadyNow);
      t && config_.LogTime > static_cast<double>(*t)) {
    return;
  }
  if (!config_.LogEnable) return;
  if (recState != 1) return;

  const double value = frame_.CurrentValue;
  if (value < config_.LogThreshold) {
    MotionCount_ = 0;
    StableLogged_ = 0;
    MotionRef_ = 0;
    LastLogValue_ = 0;
    return;
  }
  const double band = config_.LogVariation;
  if (band != 0 && value > LastLogValue_ - band && value < LastLogValue_ + band) return;

  if (config_.MotionTime == 0) {
    WriteLine(now, steadyNow);
    return;
  }
  if (MotionCount_ > config_.MotionTime * 10 && StableLogged_ == 0) {
    StableLogged_ = 1;
    WriteLine(now, steadyNow);
  } else if (value != MotionRef_) {
    MotionCount_ = 0;
    StableLogged_ = 0;
    MotionRef_ = value;
  }
}

void RecordWriter::WriteLine(const DateTime& now, std::int64_t steadyNow) {
  const double value = frame_.CurrentValue;
  // Store and advance before the file is touched: a failure message shown from the append runs
  // an event loop that may run the writer again, which must take the next slot.
  history_.Append(value, config_.NofSamples);
  LastLogValue_ = value;
  LogCount_ += 1;
  config_.LastLogTime = DateTimeText(now, regional_);
  lastLine_ = LastLine{config_.LastLogTime, now, steadyNow};
  const auto text = FormatNumber(value, frame_.ValueFormat, regional_);
  file_.Append(RecordLine(LogCount_, text.value_or(std::string()), now, regional_));
}

}  // namespace tarnwell
