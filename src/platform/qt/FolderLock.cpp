// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/qt/FolderLock.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <cerrno>

namespace tarnwell {

FolderLock::FolderLock(const std::string& folder) {
  fd_ = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  // A folder that cannot be opened cannot be shared either; the program goes on as before.
  if (fd_ < 0) {
    held_ = true;
    return;
  }
  int rc;
  do {
    rc = ::flock(fd_, LOCK_EX | LOCK_NB);
  } while (rc != 0 && errno == EINTR);
  // Only another holder refuses; a file system without locks does not stop the program.
  held_ = rc == 0 || errno != EWOULDBLOCK;
}

FolderLock::~FolderLock() {
  if (fd_ >= 0) ::close(fd_);
}

}  // namespace tarnwell
