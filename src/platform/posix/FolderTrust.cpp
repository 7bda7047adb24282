// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/posix/FolderTrust.h"

#include <fcntl.h>
#include <grp.h>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <deque>

namespace tarnwell {
namespace {

// As many links as the system itself follows in one path.
constexpr int kMostLinks = 40;

std::string UserName(uid_t user) {
  const passwd* entry = ::getpwuid(user);
  return entry ? entry->pw_name : std::to_string(user);
}

std::string GroupName(gid_t group) {
  const ::group* entry = ::getgrgid(group);
  return entry ? entry->gr_name : std::to_string(group);
}

// The group of the folder's owner alone, as Debian gives each user: named after the owner, the
// owner's primary group, and nobody else listed in it.
bool OwnersOwnGroup(const struct stat& st) {
  const passwd* owner = ::getpwuid(st.st_uid);
  if (!owner || owner->pw_gid != st.st_gid) return false;
  const std::string name = owner->pw_name;
  const ::group* group = ::getgrgid(st.st_gid);
  if (!group || name != group->gr_name) return false;
  for (char** member = group->gr_mem; *member; ++member) {
    if (name != *member) return false;
  }
  return true;
}

std::deque<std::string> Components(const std::string& path) {
  std::deque<std::string> parts;
  for (std::size_t from = 0; from <= path.size();) {
    const std::size_t slash = std::min(path.find('/', from), path.size());
    if (slash > from) parts.push_back(path.substr(from, slash - from));
    from = slash + 1;
  }
  return parts;
}

std::string Join(const std::string& folder, const std::string& name) {
  return folder == "/" ? "/" + name : folder + "/" + name;
}

std::string Parent(const std::string& folder) {
  const std::size_t slash = folder.rfind('/');
  return slash == 0 || slash == std::string::npos ? "/" : folder.substr(0, slash);
}

std::vector<gid_t> ProcessGroups() {
  std::vector<gid_t> groups(static_cast<std::size_t>(std::max(::getgroups(0, nullptr), 0)));
  const int n = ::getgroups(static_cast<int>(groups.size()), groups.data());
  groups.resize(static_cast<std::size_t>(std::max(n, 0)));
  groups.push_back(::getegid());
  return groups;
}

}  // namespace

FolderTrust::FolderTrust() : FolderTrust(::geteuid(), ProcessGroups()) {}

FolderTrust::FolderTrust(uid_t user, std::vector<gid_t> groups)
    : user_(user), groups_(std::move(groups)) {}

bool FolderTrust::InGroup(gid_t group) const {
  return std::find(groups_.begin(), groups_.end(), group) != groups_.end();
}

bool FolderTrust::GroupFolder(const struct stat& st) const {
  return (st.st_mode & S_ISGID) && (st.st_mode & S_IWGRP) && !(st.st_mode & S_IWOTH) &&
         InGroup(st.st_gid) && GroupName(st.st_gid) != "dialout";
}

std::optional<std::string> FolderTrust::FolderProblem(const std::string& path,
                                                      const struct stat& st, Role role) const {
  const bool group = GroupFolder(st);
  if (st.st_uid != user_ && st.st_uid != 0 && !group) {
    return path + " belongs to the user " + UserName(st.st_uid);
  }
  // Entries in a sticky folder can be renamed or removed only by their owners.
  if (role == Role::kAbove && (st.st_mode & S_ISVTX)) return std::nullopt;
  if (st.st_mode & S_IWOTH) return path + " can be changed by other users";
  if ((st.st_mode & S_IWGRP) && !group && !OwnersOwnGroup(st)) {
    return path + " can be changed by the group " + GroupName(st.st_gid);
  }
  return std::nullopt;
}

// Follows the path as the system would, one entry at a time, and judges each folder it passes
// through, each link it follows and, at the end, the folder it leads to.
std::optional<std::string> FolderTrust::Problem(const std::string& folder) const {
  std::deque<std::string> left = Components(folder);
  if (!folder.starts_with('/')) {
    char cwd[4096];
    if (!::getcwd(cwd, sizeof cwd)) return folder + " cannot be examined: " + std::strerror(errno);
    const auto parts = Components(cwd);
    left.insert(left.begin(), parts.begin(), parts.end());
  }
  std::string at = "/";
  struct stat st {};
  int links = 0;
  for (;;) {
    if (::lstat(at.c_str(), &st) != 0) return at + " cannot be examined: " + std::strerror(errno);
    if (left.empty()) return FolderProblem(at, st, Role::kDataFolder);
    if (auto problem = FolderProblem(at, st, Role::kAbove)) return problem;
    std::string path;
    for (; !left.empty() && path.empty(); left.pop_front()) {
      if (left.front() == "..") at = Parent(at);
      if (left.front() != "." && left.front() != "..") path = Join(at, left.front());
    }
    if (path.empty()) continue;
    if (::lstat(path.c_str(), &st) != 0) {
      if (errno == ENOENT) return std::nullopt;
      return path + " cannot be examined: " + std::strerror(errno);
    }
    if (S_ISLNK(st.st_mode)) {
      if (st.st_uid != user_ && st.st_uid != 0) {
        return path + " is a link that belongs to the user " + UserName(st.st_uid);
      }
      std::string target(4096, '\0');
      const ssize_t n = ::readlink(path.c_str(), target.data(), target.size());
      if (++links > kMostLinks || n <= 0) return path + " leads through too many links";
      target.resize(static_cast<std::size_t>(n));
      const auto parts = Components(target);
      left.insert(left.begin(), parts.begin(), parts.end());
      if (target.starts_with('/')) at = "/";
      continue;
    }
    if (!S_ISDIR(st.st_mode)) return path + " is not a folder";
    at = path;
  }
}

bool FolderTrust::Tighten(const std::string& folder) const {
  const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
  if (fd < 0) return false;
  struct stat st {};
  bool done = ::fstat(fd, &st) == 0 && st.st_uid == user_;
  if (done && (st.st_mode & 077)) done = ::fchmod(fd, st.st_mode & 07700) == 0;
  ::close(fd);
  return done;
}

}  // namespace tarnwell
