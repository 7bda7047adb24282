// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <sys/mount.h>
#include <sys/stat.h>
#include <unistd.h>

#include <string>

namespace tarnwell::testing {

// A small tmpfs mounted for the life of the object on `at`, a folder it makes, or on a fresh
// folder under /tmp, to meet a full or read-only disk for real. Mounted() is false where
// mounting is not permitted.
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

 private:
  std::string path_;
  bool mounted_ = false;
};

}  // namespace tarnwell::testing
