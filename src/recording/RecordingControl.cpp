// SPDX-License-Identifier: GPL-3.0-or-later
#include "recording/RecordingControl.h"

#include <utility>

#include "config/NumberText.h"
#include "i18n/TextIndex.h"
#include "recording/RecordFileName.h"

namespace tarnwell {
namespace {

constexpr const char* kWriteFailedText =
    "Writing to the record file failed. The lines are kept and written when the file accepts "
    "them again:";
constexpr const char* kLinesDroppedText = "Record lines lost:";
constexpr const char* kFolderFailedText = "The record folder cannot be created:";
constexpr const char* kFileFailedText = "The record file cannot be opened:";
constexpr const char* kRecoveredText = "Writing to the record file works again:";
constexpr const char* kFramesDroppedText =
    "Frames left out, because characters may have been lost on the line:";
// However often frames are dropped, the operator hears of it no more than this often.
constexpr std::int64_t kDropNoticeMs = 60000;

}  // namespace

RecordingControl::RecordingControl(AppConfig& config, SampleHistory& history, FileSystem& fs,
                                   const Clock& clock, const Regional& regional,
                                   MessageBox& messages, const LangTable& texts,
                                   std::function<void()> graphDblClick, std::size_t maxPendingLines)
    : config_(config),
      fs_(fs),
      clock_(clock),
      messages_(messages),
      texts_(texts),
      graphDblClick_(std::move(graphDblClick)),
      history_(history),
      file_(fs, clock, maxPendingLines),
      writer_(config, history, file_, clock, regional) {
  file_.SetListener([this](RecordFile::Event e, std::size_t n) { OnFileEvent(e, n); });
}

RecordingControl::~RecordingControl() {
  state_ = RecordingState::kIdle;
  file_.Close(false);
}

void RecordingControl::SetNewLogFileName() {
  config_.LogFileName =
      NewLogFileName(clock_.LocalNow(), config_.AdvancedMode, config_.LogFileType);
}

void RecordingControl::StartRecording() {
  if (!config_.LogEnable) return;
  const bool running = state_ == RecordingState::kRecording;
  // Idle until the file is open, so that nothing is written while a message is up.
  state_ = RecordingState::kIdle;
  file_.Close(true);
  const std::string folder = RecordFolder(fs_);
  if (!fs_.FolderExists(folder) && !fs_.CreateFolder(folder)) {
    Tell(text::kRecordFolderFailed, kFolderFailedText, folder);
    return;
  }
  if (config_.LogIncremental || !IsPlainFileName(config_.LogFileName)) SetNewLogFileName();
  const std::string path = fs_.Join(folder, config_.LogFileName);
  if (!file_.Open(folder, path)) {
    Tell(text::kRecordFileFailed, kFileFailedText, path);
    return;
  }
  state_ = RecordingState::kRecording;
  if (graphDblClick_) graphDblClick_();
  // The display shows the current value while recording: until the first reading it keeps what
  // it showed, the latest reading (of the recording that ran, or of the history). No line is
  // written from it; the first line waits for that reading.
  if (!running) writer_.ShowUntilFirstReading(history_.Latest().value_or(0));
  writer_.Restart();
}

void RecordingControl::Take(double value, const std::string& format, Instant readAt) {
  writer_.Take(value, format);
  if (config_.LogTime == 0) writer_.RunWriter(state_, readAt);
}

bool RecordingControl::Close() {
  TellDroppedFrames(true);
  state_ = RecordingState::kIdle;
  return file_.Close(true);
}

void RecordingControl::Flush() {
  TellDroppedFrames(false);
  file_.Flush();
}

void RecordingControl::FramesDropped(std::size_t count) {
  if (!Recording()) return;
  // Each was a line to be; its count is left out, as for lines a full disk lost.
  if (config_.LogTime == 0 && config_.MotionTime == 0) writer_.SkipLines(count);
  untoldDrops_ += count;
  TellDroppedFrames(false);
}

void RecordingControl::TellDroppedFrames(bool now) {
  if (untoldDrops_ == 0) return;
  const std::int64_t steady = clock_.SteadyMs();
  if (!now && lastDropNotice_ && steady - *lastDropNotice_ < kDropNoticeMs) return;
  lastDropNotice_ = steady;
  Tell(text::kFramesDropped, kFramesDroppedText, std::to_string(std::exchange(untoldDrops_, 0)));
}

void RecordingControl::OnFileEvent(RecordFile::Event event, std::size_t count) {
  switch (event) {
    case RecordFile::Event::kWriteFailed:
      Tell(text::kRecordWriteFailed, kWriteFailedText, file_.Path());
      break;
    case RecordFile::Event::kLinesLost:
      Tell(text::kRecordLinesDropped, kLinesDroppedText, std::to_string(count));
      break;
    case RecordFile::Event::kRecovered:
      Tell(text::kRecordWriteRecovered, kRecoveredText, file_.Path());
      break;
  }
}

void RecordingControl::Tell(int index, const char* fallback, const std::string& detail) {
  std::string message = texts_.Text(index);
  if (message.empty()) message = fallback;
  if (!detail.empty()) message += " " + detail;
  notices_.push_back(std::move(message));
  // A message box runs an event loop in which the writer can report again; those messages
  // follow the one on screen instead of stacking boxes.
  if (telling_) return;
  telling_ = true;
  while (!notices_.empty()) {
    const std::string next = std::move(notices_.front());
    notices_.pop_front();
    messages_.Show(next, {});
  }
  telling_ = false;
}

}  // namespace tarnwell
