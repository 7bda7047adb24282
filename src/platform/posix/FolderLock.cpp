// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/posix/FolderLock.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <cerrno>

namespace tarnwell {

FolderLock::FolderLock(const std::string& folder, unsigned mode) {
  fd_ = ::open((folder + "/.lock").c_str(),
               O_WRONLY | O_CREAT | O_NOFOLLOW | O_NONBLOCK | O_NOCTTY | O_CLOEXEC, mode & 0660);
  // Without a lock file (a folder this user may not write) nothing can be kept from the program.
  if (fd_ < 0) {
    held_ = true;
    return;
  }
  const int rc = TEMP_FAILURE_RETRY(::flock(fd_, LOCK_EX | LOCK_NB));
  // Only another holder refuses; a file system without locks does not stop the program.
  held_ = rc == 0 || errno != EWOULDBLOCK;
}

FolderLock::~FolderLock() {
  if (fd_ >= 0) ::close(fd_);
}

}  // namespace tarnwell
