// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>

namespace tarnwell {

// Holds the program folder for one running program. The lock belongs to the open folder, so the
// operating system lets go of it when the holder ends in any way, a crash or a kill included,
// and no file is left behind.
class FolderLock {
 public:
  explicit FolderLock(const std::string& folder);
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
