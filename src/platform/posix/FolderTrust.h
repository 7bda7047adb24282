// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <sys/stat.h>
#include <sys/types.h>

#include <optional>
#include <string>
#include <vector>

namespace tarnwell {

// Whether a user may trust a folder with settings, records and port links, as ssh judges its
// own files: the folder, every folder above it and every link on the way to it belong to the
// user or to root, and nobody else can change them. A folder above may let others add entries
// where the sticky bit keeps them from touching those of others (the shared temporary folder). A
// group folder is trusted too: set-group-ID, writable by a group of the user's (not dialout,
// which everyone who may use a serial port is in), not by others.
class FolderTrust {
 public:
  // For the user the process runs as.
  FolderTrust();
  FolderTrust(uid_t user, std::vector<gid_t> groups);

  // What is wrong with `folder`, naming the folder or link at fault; nothing when it can be
  // trusted, or when it does not exist and the folders above it can be.
  std::optional<std::string> Problem(const std::string& folder) const;
  // Takes the rights of the group and of others from `folder` when it is the user's own folder
  // (not a link). False when it cannot.
  bool Tighten(const std::string& folder) const;

 private:
  enum class Role { kAbove, kDataFolder };
  std::optional<std::string> FolderProblem(const std::string& path, const struct stat& st,
                                           Role role) const;
  bool GroupFolder(const struct stat& st) const;
  bool InGroup(gid_t group) const;

  uid_t user_;
  std::vector<gid_t> groups_;
};

}  // namespace tarnwell
