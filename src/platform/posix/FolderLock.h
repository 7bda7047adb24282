// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>

namespace tarnwell {

// Holds the data folder for one running program by a lock on the file .lock in it. The lock
// belongs to the open file, so the operating system lets go of it when the holder ends in any
// way, a crash or a kill included. The file is opened for writing and others may not read it, so
// only a user who may write there can take the lock, never any user who can merely see it.
class FolderLock {
 public:
  // The file .lock is made with `mode` (less the umask); others may never read it.
  explicit FolderLock(const std::string& folder, unsigned mode = 0660);
  ~FolderLock();
  FolderLock(const FolderLock&) = delete;
  FolderLock& operator=(const FolderLock&) = delete;

  // False when another program holds the folder.
  bool Held() const { return held_; }

 private:
  int fd_ = -1;
  bool held_ = false;
};

}  // namespace tarnwell
