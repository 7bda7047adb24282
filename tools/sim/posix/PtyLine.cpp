// SPDX-License-Identifier: GPL-3.0-or-later
#include "sim/posix/PtyLine.h"

#include <fcntl.h>
#include <pty.h>
#include <sys/inotify.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <termios.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <system_error>

namespace tarnwell::sim {

PtyLine::~PtyLine() { Close(); }

bool PtyLine::Open(const std::string& link, std::string& error) {
  Close();
  char name[256] = {};
  if (::openpty(&master_, &slave_, name, nullptr, nullptr) != 0) {
    error = std::string("cannot open a pseudo-terminal: ") + std::strerror(errno);
    master_ = slave_ = -1;
    return false;
  }
  device_ = name;
  // Raw: no CR to NL mapping, no echo, no line editing; what is written arrives as it is.
  termios tio{};
  ::tcgetattr(slave_, &tio);
  ::cfmakeraw(&tio);
  ::cfsetispeed(&tio, B9600);
  ::cfsetospeed(&tio, B9600);
  ::tcsetattr(slave_, TCSANOW, &tio);
  ::fcntl(master_, F_SETFL, ::fcntl(master_, F_GETFL) | O_NONBLOCK);
  ::fcntl(master_, F_SETFD, FD_CLOEXEC);
  ::fcntl(slave_, F_SETFD, FD_CLOEXEC);
  ::fchmod(slave_, 0666);

  // Our own descriptor was opened before the watch exists, so it is not counted as a reader.
  watch_ = ::inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
  readers_ = -1;
  if (watch_ >= 0) {
    if (::inotify_add_watch(watch_, device_.c_str(), IN_OPEN | IN_CLOSE) >= 0) {
      readers_ = 0;
    } else {
      ::close(watch_);
      watch_ = -1;
    }
  }
  if (!MakeLink(link, error)) {
    Close();
    return false;
  }
  return true;
}

bool PtyLine::MakeLink(const std::string& link, std::string& error) {
  std::error_code ec;
  const std::filesystem::path path(link);
  if (path.has_parent_path()) std::filesystem::create_directories(path.parent_path(), ec);
  struct stat st {};
  if (::lstat(link.c_str(), &st) == 0 && !S_ISLNK(st.st_mode)) {
    error = link + " exists and is not a link; not replacing it";
    return false;
  }
  // Made beside it and renamed over it, so a stale link is replaced in one step.
  const std::string temporary = link + ".new" + std::to_string(::getpid());
  ::unlink(temporary.c_str());
  if (::symlink(device_.c_str(), temporary.c_str()) != 0 ||
      ::rename(temporary.c_str(), link.c_str()) != 0) {
    error = "cannot make the link " + link + ": " + std::strerror(errno);
    ::unlink(temporary.c_str());
    return false;
  }
  link_ = link;
  return true;
}

void PtyLine::Close() {
  if (!link_.empty()) {
    char target[256] = {};
    const ssize_t n = ::readlink(link_.c_str(), target, sizeof target - 1);
    if (n > 0 && device_ == std::string(target, static_cast<std::size_t>(n))) {
      ::unlink(link_.c_str());
    }
    link_.clear();
  }
  for (int* fd : {&watch_, &slave_, &master_}) {
    if (*fd >= 0) ::close(*fd);
    *fd = -1;
  }
  readers_ = -1;
}

std::size_t PtyLine::TakeBack() {
  if (slave_ < 0) return 0;
  const int flags = ::fcntl(slave_, F_GETFL);
  ::fcntl(slave_, F_SETFL, flags | O_NONBLOCK);
  std::size_t taken = 0;
  char buffer[4096];
  for (ssize_t n; (n = ::read(slave_, buffer, sizeof buffer)) > 0;) {
    taken += static_cast<std::size_t>(n);
  }
  ::fcntl(slave_, F_SETFL, flags);
  return taken;
}

std::size_t PtyLine::ReadWatch() {
  std::size_t dropped = 0;
  alignas(inotify_event) char buffer[4096];
  for (;;) {
    const ssize_t n = ::read(watch_, buffer, sizeof buffer);
    if (n <= 0) return dropped;
    for (ssize_t at = 0; at < n;) {
      const auto* event = reinterpret_cast<const inotify_event*>(buffer + at);
      if (event->mask & IN_OPEN) ++readers_;
      if ((event->mask & IN_CLOSE) && readers_ > 0) {
        // A closed serial port keeps nothing of what arrived unread.
        if (--readers_ == 0) dropped += TakeBack();
      }
      at += static_cast<ssize_t>(sizeof(inotify_event) + event->len);
    }
  }
}

void PtyLine::DrainMaster() {
  char buffer[1024];
  while (::read(master_, buffer, sizeof buffer) > 0) {
  }
}

std::size_t PtyLine::Unread() const {
  int count = 0;
  if (slave_ < 0 || ::ioctl(slave_, FIONREAD, &count) != 0 || count < 0) return 0;
  return static_cast<std::size_t>(count);
}

}  // namespace tarnwell::sim
