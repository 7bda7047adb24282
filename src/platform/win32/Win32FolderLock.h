// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>

#include "platform/win32/UniqueHandle.h"

namespace tarnwell {

// Holds the data folder for one running program by keeping the file .lock in it open for
// writing with no sharing, so no other program can open it meanwhile. The system closes the
// handle when the holder ends in any way, a crash or a kill included. Only a user who may write
// there can take the lock.
class Win32FolderLock {
 public:
  explicit Win32FolderLock(const std::string& folder);
  Win32FolderLock(const Win32FolderLock&) = delete;
  Win32FolderLock& operator=(const Win32FolderLock&) = delete;

  // False when another program holds the folder.
  bool Held() const { return held_; }

 private:
  UniqueHandle file_;
  bool held_ = false;
};

}  // namespace tarnwell
