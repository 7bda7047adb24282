// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <deque>
#include <functional>
#include <optional>
#include <string>

#include "acquisition/Recorder.h"
#include "acquisition/SampleHistory.h"
#include "config/AppConfig.h"
#include "i18n/LangTable.h"
#include "platform/Clock.h"
#include "platform/FileSystem.h"
#include "platform/MessageBox.h"
#include "recording/RecordFile.h"
#include "recording/RecordWriter.h"

namespace tarnwell {

// The recording state, the record folder `Log` in the data folder, the naming and opening of
// the record file, and the record writer that fills it. Runs on the user-interface thread.
class RecordingControl : public Recorder {
 public:
  // `graphDblClick` is the graph's trace reset.
  RecordingControl(AppConfig& config, SampleHistory& history, FileSystem& fs, const Clock& clock,
                   const Regional& regional, MessageBox& messages, const LangTable& texts,
                   std::function<void()> graphDblClick,
                   std::size_t maxPendingLines = RecordFile::kDefaultMaxPending);
  // Writes what is kept and syncs, without messages.
  ~RecordingControl() override;
  RecordingControl(const RecordingControl&) = delete;
  RecordingControl& operator=(const RecordingControl&) = delete;

  // Makes LogFileName from the local date and time.
  void SetNewLogFileName();
  // Starts recording when LogEnable allows it; the first line is the first reading after it. A
  // folder or file that cannot be made or opened is reported and the recording stays idle.
  void StartRecording();
  // A run of the record writer: by its timer, or for a frame read at `readAt`.
  void RunWriter(std::optional<Instant> readAt = std::nullopt) {
    writer_.RunWriter(state_, readAt);
  }
  void OnStabilityTick() { writer_.OnStabilityTick(); }
  // A recording runs and LogEnable is on.
  bool Recording() const override {
    return state_ == RecordingState::kRecording && config_.LogEnable;
  }
  // A reading while recording; with LogTime 0 each reading is a run of the writer.
  void Take(double value, const std::string& format, Instant readAt) override;
  double CurrentValue() const override { return writer_.CurrentValue(); }
  void ResetLastLogValue() { writer_.ResetLastLogValue(); }
  // For a one-second timer: syncs the last lines and retries kept ones, and tells of frames
  // dropped that are not yet told.
  void Flush();
  // Frames dropped on the line, at their place among the frames (see SerialLink). While a
  // recording runs that takes every frame, their line counts are skipped; the operator is told.
  void FramesDropped(std::size_t count) override;
  void HoldLines() override { file_.Hold(); }
  void ReleaseLines() override { file_.Release(); }
  // Shutdown: writes kept lines, syncs and closes; lines that could not be written are
  // reported. Recording is idle afterwards. True when every line is on the disk.
  bool Close();

 private:
  void OnFileEvent(RecordFile::Event event, std::size_t count);
  // A text of the language, or `fallback` when the language has none, then `detail`.
  void Tell(int index, const char* fallback, const std::string& detail);
  // Tells the frames dropped since the last notice: `now`, or once a minute has passed since.
  void TellDroppedFrames(bool now);

  AppConfig& config_;
  FileSystem& fs_;
  const Clock& clock_;
  MessageBox& messages_;
  const LangTable& texts_;
  std::function<void()> graphDblClick_;
  const SampleHistory& history_;
  RecordFile file_;
  RecordWriter writer_;
  RecordingState state_ = RecordingState::kIdle;
  std::deque<std::string> notices_;
  bool telling_ = false;
  std::size_t untoldDrops_ = 0;
  std::optional<std::int64_t> lastDropNotice_;
};

}  // namespace tarnwell
