// SPDX-License-Identifier: GPL-3.0-or-later
#include "recording/RecordFile.h"

namespace tarnwell {

RecordFile::RecordFile(FileSystem& fs, const Clock& clock, std::size_t maxPending)
    : fs_(fs), clock_(clock), maxPending_(maxPending) {}

bool RecordFile::Open(const std::string& folder, const std::string& path) {
  Close(true);
  file_ = fs_.OpenAppend(path);
  if (!file_) return false;
  // A line cut by a power failure in an earlier run is ended before new lines follow it, so
  // neither runs into the other; the earlier lines stay as they are.
  if (const auto tail = fs_.ReadTail(path, 2); tail && !tail->empty() && tail->back() != '\n') {
    file_->Write(tail->back() == '\r' ? "\n" : "\r\n");
  }
  folder_ = folder;
  path_ = path;
  lastSync_ = clock_.SteadyMs();
  return true;
}

void RecordFile::Append(std::string line) {
  if (!file_) return;
  if (holding_) {
    held_ += line;
    heldEnds_.push_back(held_.size());
    return;
  }
  Write(std::move(line), {});
}

void RecordFile::Release() {
  holding_ = false;
  if (heldEnds_.empty()) return;
  std::string text;
  std::vector<std::size_t> ends;
  text.swap(held_);
  ends.swap(heldEnds_);
  Write(std::move(text), ends);
}

// `text` is whole lines; `ends` says where each ends, or is empty for a single line.
void RecordFile::Write(std::string text, const std::vector<std::size_t>& ends) {
  if (!file_) return;
  const auto keepAll = [&] {
    if (ends.empty()) return Keep(std::move(text));
    std::size_t from = 0;
    for (const std::size_t end : ends) {
      Keep(text.substr(from, end - from));
      from = end;
    }
  };
  if (!failed_) {
    if (file_->Write(text)) {
      unsynced_ = true;
      if (clock_.SteadyMs() - lastSync_ >= kSyncMs) StartSync();
      return;
    }
    failed_ = true;
    lastRetry_ = clock_.SteadyMs();
    keepAll();
    Emit(Event::kWriteFailed, pending_.size());
    return;
  }
  keepAll();
  if (clock_.SteadyMs() - lastRetry_ >= kRetryMs) Retry(true);
}

void RecordFile::Flush() {
  if (!file_) return;
  if (failed_) {
    Retry(true);
  } else if (unsynced_) {
    StartSync();
  } else {
    Report(file_->TakeSyncOutcome());
  }
}

bool RecordFile::Close(bool tell) {
  Release();
  if (!file_) return true;
  if (failed_) Retry(false);
  if (!failed_ && unsynced_) Sync();
  const std::size_t lost = pending_.size() + dropped_;
  const bool onDisk = lost == 0 && !failed_ && !syncFailed_ && !unsynced_;
  file_.reset();
  pending_.clear();
  dropped_ = 0;
  failed_ = false;
  syncFailed_ = false;
  unsynced_ = false;
  if (tell && lost > 0) Emit(Event::kLinesLost, lost);
  return onDisk;
}

void RecordFile::Keep(std::string line) {
  if (pending_.size() >= maxPending_) {
    ++dropped_;
    return;
  }
  pending_.push_back(std::move(line));
}

void RecordFile::Retry(bool announce) {
  lastRetry_ = clock_.SteadyMs();
  if (!folder_.empty() && !fs_.FolderExists(folder_)) fs_.CreateFolder(folder_);
  if (!file_->Reopen()) return;
  while (!pending_.empty()) {
    if (!file_->Write(pending_.front())) return;
    pending_.pop_front();
    unsynced_ = true;
  }
  failed_ = false;
  const std::size_t dropped = dropped_;
  dropped_ = 0;
  Sync();
  if (announce) {
    if (dropped > 0) Emit(Event::kLinesLost, dropped);
    Emit(Event::kRecovered, 0);
  }
}

void RecordFile::Sync() {
  lastSync_ = clock_.SteadyMs();
  unsynced_ = false;
  // This sync overtakes one still under way in the background.
  file_->TakeSyncOutcome();
  Report(file_->Sync());
}

// The file may sync in the background; how a sync went is told once it is known, by this or a
// later call or by Flush.
void RecordFile::StartSync() {
  lastSync_ = clock_.SteadyMs();
  unsynced_ = false;
  file_->StartSync();
  Report(file_->TakeSyncOutcome());
}

void RecordFile::Report(std::optional<bool> synced) {
  if (!synced) return;
  if (*synced) {
    syncFailed_ = false;
    return;
  }
  // Lines keep going to the file; the operator hears of it once, not every second.
  if (!syncFailed_) {
    syncFailed_ = true;
    Emit(Event::kWriteFailed, 0);
  }
}

void RecordFile::Emit(Event event, std::size_t count) {
  if (listener_) listener_(event, count);
}

}  // namespace tarnwell
