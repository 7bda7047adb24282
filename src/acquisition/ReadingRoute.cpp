// SPDX-License-Identifier: GPL-3.0-or-later
#include "acquisition/ReadingRoute.h"

#include "acquisition/NumberFormat.h"

namespace tarnwell {

ReadingRoute::ReadingRoute(const AppConfig& config, SampleHistory& history, Recorder& recorder,
                           SerialPort& port, const Timer& refreshTimer,
                           std::function<void()> resetTrace)
    : config_(config),
      history_(history),
      recorder_(recorder),
      port_(port),
      refreshTimer_(refreshTimer),
      resetTrace_(std::move(resetTrace)) {}

void ReadingRoute::Frame(const std::optional<Reading>& reading) {
  const bool recording = recorder_.Recording();
  if (!reading) {
    if (!recording) history_.Skip(config_.NofSamples);
    return;
  }
  if (reading->decimals) valueFormat_ = FormatForDecimals(*reading->decimals);
  ++readings_;
  if (recording) {
    recorder_.Take(reading->value, valueFormat_, reading->at);
  } else {
    history_.Append(reading->value, config_.NofSamples);
  }
}

void ReadingRoute::FirstFrame() {
  if (resetTrace_) resetTrace_();
}

void ReadingRoute::HandOverEnds() {
  recorder_.ReleaseLines();
  PaceReads();
}

void ReadingRoute::PaceReads() {
  port_.SetMaxWait(recorder_.Recording() ? kRecordingWaitMs : refreshTimer_.Interval());
}

std::optional<double> ReadingRoute::ShownValue() const {
  if (recorder_.Recording()) return recorder_.CurrentValue();
  // Not the slot before SampleIndex: just after a wrap there is none (with one sample never),
  // and after frames that held no reading it is an old one.
  return history_.Latest();
}

}  // namespace tarnwell
