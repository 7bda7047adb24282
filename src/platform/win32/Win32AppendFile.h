// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>

#include "platform/FileSystem.h"
#include "platform/win32/UniqueHandle.h"
#include "platform/win32/Win32BackgroundSync.h"

namespace tarnwell {

// A record file held open for appending. Nobody else may write it, delete it or rename it
// while it is open, nor rename the folder it is in. A write that stops part way (a full disk) is
// cut back off the file: a line is in the file whole or not at all, and the caller can write it
// again later without leaving a broken line.
class Win32AppendFile : public AppendFile {
 public:
  // Nothing when `path` cannot be opened so: its folder must be a real folder, not a link or
  // junction, and the file a plain file that is not read-only; a new file is made only where no
  // name is, so a link planted there, even one leading nowhere, is never followed.
  static std::unique_ptr<Win32AppendFile> Open(const std::string& path);

  bool Write(const std::string& bytes) override;
  bool Sync() override;
  // The once-a-second flush of a record file can take tens of milliseconds on a busy disk; the
  // frames waiting meanwhile would get their record lines' times late.
  void StartSync() override { background_.Start(file_.Get()); }
  std::optional<bool> TakeSyncOutcome() override { return background_.TakeOutcome(); }
  bool Reopen() override;

 private:
  Win32AppendFile(std::string path, UniqueHandle folder, UniqueHandle file);

  std::string path_;
  UniqueHandle folder_;
  UniqueHandle file_;
  Win32BackgroundSync background_;
};

}  // namespace tarnwell
