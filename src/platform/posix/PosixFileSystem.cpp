// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/posix/PosixFileSystem.h"

#include <fcntl.h>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <filesystem>
#include <system_error>

#include "platform/posix/BackgroundSync.h"
#include "platform/posix/FolderTrust.h"

namespace tarnwell {
namespace {

std::string WithoutTrailingSeparator(std::string path) {
  while (path.size() > 1 && path.back() == '/') path.pop_back();
  return path;
}

std::string ExecutableFolder() {
  std::error_code ec;
  const auto exe = std::filesystem::canonical("/proc/self/exe", ec);
  if (ec) return std::filesystem::current_path(ec).string();
  return exe.parent_path().string();
}

std::optional<std::string> AbsoluteVariable(const char* name) {
  const char* value = std::getenv(name);
  if (!value || value[0] != '/') return std::nullopt;
  return std::string(value);
}

// The user's data home as the desktop's base directories name it ($XDG_DATA_HOME, else
// ~/.local/share; a relative path counts as unset), + /tarnwell. Nothing where no home is known.
std::optional<std::string> PrivateDataFolder() {
  if (auto base = AbsoluteVariable("XDG_DATA_HOME")) {
    return WithoutTrailingSeparator(*base) + "/tarnwell";
  }
  auto home = AbsoluteVariable("HOME");
  if (!home) {
    const passwd* user = ::getpwuid(::getuid());
    if (!user || !user->pw_dir || user->pw_dir[0] != '/') return std::nullopt;
    home = user->pw_dir;
  }
  return WithoutTrailingSeparator(*home) + "/.local/share/tarnwell";
}

// The user's own data folder and its parents where they are missing, for the user alone; a
// folder of the user's that others may read or write is closed to them. Nothing is made where the
// folders above cannot be trusted.
std::optional<std::string> MakePrivateFolder(const std::string& folder) {
  const FolderTrust trust;
  const auto slash = folder.rfind('/');
  if (auto problem = trust.Problem(folder.substr(0, slash ? slash : 1))) return problem;
  for (auto at = folder.find('/', 1);; at = folder.find('/', at + 1)) {
    ::mkdir(folder.substr(0, at).c_str(), 0700);
    if (at == std::string::npos) break;
  }
  trust.Tighten(folder);
  return trust.Problem(folder);
}

// Neither the folder nor the file is followed where it is a link. A new file is made with O_EXCL;
// an existing one must be a plain file (opening a planted pipe would hold the program).
int OpenForAppend(const std::string& path, mode_t mode) {
  const auto slash = path.rfind('/');
  // Without a trailing separator, which would follow a link.
  const std::string folder = slash == std::string::npos ? "." : path.substr(0, slash ? slash : 1);
  const int dir = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
  if (dir < 0) return -1;
  const char* name = path.c_str() + (slash == std::string::npos ? 0 : slash + 1);
  constexpr int kFlags = O_WRONLY | O_APPEND | O_NOFOLLOW | O_NONBLOCK | O_NOCTTY | O_CLOEXEC;
  int fd = ::openat(dir, name, kFlags | O_CREAT | O_EXCL, mode);
  if (fd < 0 && errno == EEXIST) fd = ::openat(dir, name, kFlags);
  ::close(dir);
  struct stat st {};
  if (fd >= 0 && (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode))) {
    ::close(fd);
    return -1;
  }
  return fd;
}

// Writes every byte, going on after short writes and interruptions; false on the first error.
bool WriteAll(int fd, const std::string& bytes) {
  std::size_t done = 0;
  while (done < bytes.size()) {
    const ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return false;
    done += static_cast<std::size_t>(n);
  }
  return true;
}

// Writes go straight to the descriptor, so nothing is left in a buffer of ours. A write that
// stops part way is cut back off the file: a line is in the file whole or not at all, and the
// caller can write it again later without leaving a broken line.
class PosixAppendFile : public AppendFile {
 public:
  PosixAppendFile(std::string path, int fd, mode_t mode)
      : path_(std::move(path)), fd_(fd), mode_(mode) {}
  ~PosixAppendFile() override { CloseFd(); }

  bool Write(const std::string& bytes) override {
    struct stat before {};
    // A file removed or replaced under us would take every further line into nothing.
    if (::fstat(fd_, &before) != 0 || before.st_nlink == 0) return false;
    if (WriteAll(fd_, bytes)) return true;
    TEMP_FAILURE_RETRY(::ftruncate(fd_, before.st_size));
    return false;
  }

  bool Sync() override { return SyncToDisk(fd_); }

  // The once-a-second sync of a record file can take tens of milliseconds on a busy disk; the
  // frames waiting meanwhile would get their record lines' times late.
  void StartSync() override { background_.Start(fd_); }
  std::optional<bool> TakeSyncOutcome() override { return background_.TakeOutcome(); }

  bool Reopen() override {
    CloseFd();
    fd_ = OpenForAppend(path_, mode_);
    return fd_ >= 0;
  }

 private:
  void CloseFd() {
    if (fd_ >= 0) ::close(fd_);
    fd_ = -1;
  }

  std::string path_;
  int fd_;
  mode_t mode_;
  BackgroundSync background_;
};

}  // namespace

PosixFileSystem::PosixFileSystem() : programFolder_(ExecutableFolder()) {
  const char* home = std::getenv("TARNWELL_HOME");
  struct stat marker {};
  const bool packaged = ::stat((programFolder_ + "/per-user-data").c_str(), &marker) == 0;
  if (home && *home) {
    dataFolder_ = WithoutTrailingSeparator(home);
  } else if (const auto own = packaged ? PrivateDataFolder() : std::nullopt) {
    dataFolder_ = *own;
    private_ = true;
    problem_ = MakePrivateFolder(dataFolder_);
    return;
  } else {
    dataFolder_ = programFolder_;
  }
  problem_ = FolderTrust().Problem(dataFolder_);
}

PosixFileSystem::PosixFileSystem(std::string folder)
    : programFolder_(WithoutTrailingSeparator(std::move(folder))), dataFolder_(programFolder_) {}

std::optional<std::string> PosixFileSystem::ReadAll(const std::string& path) const {
  return ReadTail(path, std::string::npos);
}

// Only a plain file is read: a pipe or a device planted in its place would hold the program.
std::optional<std::string> PosixFileSystem::ReadTail(const std::string& path,
                                                     std::size_t count) const {
  const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
  if (fd < 0) return std::nullopt;
  std::optional<std::string> bytes;
  struct stat st {};
  if (::fstat(fd, &st) == 0 && S_ISREG(st.st_mode)) {
    const auto size = static_cast<std::size_t>(st.st_size);
    if (count >= size || ::lseek(fd, static_cast<off_t>(size - count), SEEK_SET) >= 0) {
      bytes.emplace();
      char buffer[65536];
      for (ssize_t n; bytes && (n = ::read(fd, buffer, sizeof buffer)) != 0;) {
        if (n > 0) {
          bytes->append(buffer, static_cast<std::size_t>(n));
        } else if (errno != EINTR) {
          bytes.reset();
        }
      }
    }
  }
  ::close(fd);
  return bytes;
}

bool PosixFileSystem::WriteWhole(const std::string& path, const std::string& bytes) {
  // Written here, not with the toolkit's save file, which on a full disk reports success for an
  // empty file. One program holds the folder, so one fixed name serves; what a killed write left
  // is replaced.
  const std::string temp = path + ".new";
  ::unlink(temp.c_str());
  const int fd = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, FileMode());
  if (fd < 0) return false;
  // The new file keeps the old one's permissions, never those of where a link there leads; in
  // the user's own folder it is the user's alone.
  struct stat old {};
  if (::lstat(path.c_str(), &old) == 0 && S_ISREG(old.st_mode)) {
    ::fchmod(fd, old.st_mode & (private_ ? 0600 : 0777));
  }
  bool ok = WriteAll(fd, bytes) && ::fsync(fd) == 0;
  ok = ::close(fd) == 0 && ok;
  if (!ok || ::rename(temp.c_str(), path.c_str()) != 0) {
    ::unlink(temp.c_str());
    return false;
  }
  const auto slash = path.rfind('/');
  const std::string folder = slash == std::string::npos ? "." : path.substr(0, slash + 1);
  if (const int dir = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC); dir >= 0) {
    ::fsync(dir);
    ::close(dir);
  }
  return true;
}

std::unique_ptr<AppendFile> PosixFileSystem::OpenAppend(const std::string& path) {
  const int fd = OpenForAppend(path, FileMode());
  if (fd < 0) return nullptr;
  return std::make_unique<PosixAppendFile>(path, fd, FileMode());
}

bool PosixFileSystem::FolderExists(const std::string& path) const {
  struct stat st {};
  return ::lstat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

bool PosixFileSystem::CreateFolder(const std::string& path) {
  if (::mkdir(path.c_str(), private_ ? 0700 : 0777) == 0) return true;
  return errno == EEXIST && FolderExists(path);
}

}  // namespace tarnwell
