// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>
#include <cstdint>
#include <deque>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/Clock.h"
#include "platform/FileSystem.h"

namespace tarnwell {

// The open record file. Lines that the file refuses (disk full, file gone, medium removed) are
// kept in order and written as soon as it accepts writes again, so the file never has a gap
// while the queue has room. What was written is synced to disk at least once a second.
class RecordFile {
 public:
  enum class Event {
    kWriteFailed,  // first refused write (or sync) since the file last worked
    kLinesLost,    // count: lines dropped because the queue was full, or unwritten at close
    kRecovered,    // the kept lines are written and the file takes lines again
  };
  using Listener = std::function<void(Event, std::size_t count)>;

  static constexpr std::size_t kDefaultMaxPending = 100000;
  static constexpr std::int64_t kSyncMs = 1000;
  static constexpr std::int64_t kRetryMs = 1000;

  RecordFile(FileSystem& fs, const Clock& clock, std::size_t maxPending = kDefaultMaxPending);

  // The listener may show a message box whose event loop runs the writer again; every call
  // into it is made with this object in a consistent state.
  void SetListener(Listener listener) { listener_ = std::move(listener); }

  // Opens `path` (inside `folder`, remade on a retry when it has vanished) for appending.
  bool Open(const std::string& folder, const std::string& path);
  bool IsOpen() const { return file_ != nullptr; }
  const std::string& Path() const { return path_; }

  void Append(std::string line);
  // Lines appended from Hold() to Release() go to the file in one write at Release(), each
  // whole; a refused write keeps them, in order, as it keeps single lines.
  void Hold() { holding_ = true; }
  void Release();
  // For a one-second timer: syncs lines not yet on disk and retries kept lines.
  void Flush();
  // Writes what it can of the kept lines, syncs and lets the file go. With `tell`, lines that
  // could not be written are reported as lost. True when every line is on the disk.
  bool Close(bool tell);

  std::size_t Pending() const { return pending_.size(); }

 private:
  void Keep(std::string line);
  void Write(std::string text, const std::vector<std::size_t>& ends);
  // Reopens the file and writes the kept lines; failed_ tells whether it worked.
  void Retry(bool announce);
  void Sync();
  void StartSync();
  void Report(std::optional<bool> synced);
  void Emit(Event event, std::size_t count);

  FileSystem& fs_;
  const Clock& clock_;
  std::size_t maxPending_;
  Listener listener_;
  std::unique_ptr<AppendFile> file_;
  std::string folder_;
  std::string path_;
  std::deque<std::string> pending_;
  std::size_t dropped_ = 0;
  bool failed_ = false;
  bool syncFailed_ = false;
  bool unsynced_ = false;
  std::int64_t lastSync_ = 0;
  std::int64_t lastRetry_ = 0;
  bool holding_ = false;
  std::string held_;
  // Where each held line ends in held_.
  std::vector<std::size_t> heldEnds_;
};

}  // namespace tarnwell
