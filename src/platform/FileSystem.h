// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <memory>
#include <optional>
#include <string>
#include <utility>

namespace tarnwell {

// A file held open for appending. Every Write reaches the operating system before it returns.
class AppendFile {
 public:
  virtual ~AppendFile() = default;
  // False when the bytes could not be written whole (disk full, file gone, medium removed).
  virtual bool Write(const std::string& bytes) = 0;
  // Forces what was written to the disk.
  virtual bool Sync() = 0;
  // Starts forcing what was written so far to the disk and may return before it is done, so
  // that a slow disk does not hold up the caller; TakeSyncOutcome tells later how it went. By
  // default it is Sync, done at once.
  virtual void StartSync() { syncOutcome_ = Sync(); }
  // Whether the started syncs that finished since the last call all worked; nothing when none
  // has finished.
  virtual std::optional<bool> TakeSyncOutcome() {
    return std::exchange(syncOutcome_, std::nullopt);
  }
  // Tries to open the same path again after a failure; true when it is writable again.
  virtual bool Reopen() = 0;

 private:
  std::optional<bool> syncOutcome_;
};

// Files are bytes in and out; the logic decides about code pages.
class FileSystem {
 public:
  virtual ~FileSystem() = default;
  // The program's own folder, without a trailing separator: its language files. Only read.
  virtual std::string ProgramFolder() const = 0;
  // The folder of this user's settings, records and port entries, without a trailing separator.
  virtual std::string DataFolder() const = 0;
  // The separator the platform joins folder and file names with.
  virtual char Separator() const = 0;
  virtual std::optional<std::string> ReadAll(const std::string& path) const = 0;
  // The last `count` bytes of the file (all of a shorter one); nothing when it cannot be read.
  virtual std::optional<std::string> ReadTail(const std::string& path, std::size_t count) const {
    auto bytes = ReadAll(path);
    if (bytes && bytes->size() > count) bytes->erase(0, bytes->size() - count);
    return bytes;
  }
  // Replaces the file whole, never leaving a truncated file behind: the bytes go to a file
  // beside it which is then renamed over it.
  virtual bool WriteWhole(const std::string& path, const std::string& bytes) = 0;
  // Opens for appending, creating the file when it does not exist; nothing when it cannot. The
  // file must be a plain file and neither it nor its folder a link, so that a link planted in
  // their place cannot send the lines into another file; Reopen keeps to the same rule.
  virtual std::unique_ptr<AppendFile> OpenAppend(const std::string& path) = 0;
  // A folder, not a link to one.
  virtual bool FolderExists(const std::string& path) const = 0;
  virtual bool CreateFolder(const std::string& path) = 0;

  std::string Join(const std::string& folder, const std::string& name) const {
    return folder + Separator() + name;
  }
};

}  // namespace tarnwell
