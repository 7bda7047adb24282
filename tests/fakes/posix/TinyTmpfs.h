// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <sys/mount.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <string>

namespace tarnwell::testing {

// A small tmpfs mounted on `at` (made) or a fresh folder for the life of the object, for a real
// full or read-only disk; Mounted() is false where mounting is not permitted.
class TinyTmpfs {
 public:
  explicit TinyTmpfs(const std::string& size = "64k", const std::string& at = {}) {
    char folder[] = "/tmp/tarnwell-tmpfs-XXXXXX";
    if (at.empty() ? !::mkdtemp(folder) : ::mkdir(at.c_str(), 0755) != 0) return;
    path_ = at.empty() ? folder : at;
    mounted_ = ::mount("tmpfs", path_.c_str(), "tmpfs", 0, ("size=" + size).c_str()) == 0;
  }
  ~TinyTmpfs() {
    if (mounted_) ::umount2(path_.c_str(), MNT_DETACH);
    if (!path_.empty()) ::rmdir(path_.c_str());
  }
  TinyTmpfs(const TinyTmpfs&) = delete;
  TinyTmpfs& operator=(const TinyTmpfs&) = delete;

  bool Mounted() const { return mounted_; }
  const std::string& Path() const { return path_; }
  // Takes all free space with one file; removing it frees the space again.
  std::string Fill() {
    const std::string filler = path_ + "/filler";
    return std::system(("cat /dev/zero >" + filler + " 2>/dev/null").c_str()), filler;
  }

 private:
  std::string path_;
  bool mounted_ = false;
};

}  // namespace tarnwell::testing
