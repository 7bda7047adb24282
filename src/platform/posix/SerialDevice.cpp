// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/posix/SerialDevice.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <initializer_list>

#include "platform/posix/DeviceNames.h"
#include "platform/posix/RawLine.h"

namespace tarnwell {
namespace {

SerialError OpenFailure(const std::string& device, int error) {
  const auto is = [error](std::initializer_list<int> errors) {
    return std::find(errors.begin(), errors.end(), error) != errors.end();
  };
  const std::string what = is({EWOULDBLOCK, EBUSY})      ? "in use by another program"
                           : is({ENOTTY, EINVAL, ELOOP}) ? "not a serial device"
                                                         : std::strerror(error);
  const int number = is({ENOENT, ENODEV}) ? 8001 : is({EACCES, EPERM}) ? 8002 : 8003;
  return SerialError{number, what + " (" + device + ")"};
}

}  // namespace

std::string DeviceForPort(int port, const std::string& dataFolder) {
  const std::string linked = PortEntryPath(dataFolder, port);
  struct stat entry {};
  if (::lstat(linked.c_str(), &entry) == 0) return linked;
  return MappedDevice(port);
}

std::variant<int, SerialError> OpenSerialDevice(const std::string& device, int speed) {
  const int fd = ::open(device.c_str(), O_RDONLY | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
  if (fd < 0) return OpenFailure(device, errno);
  // Another program holding the device is asked before its settings are touched.
  int error = ::flock(fd, LOCK_EX | LOCK_NB) == 0 ? SetRawLine(fd, speed) : errno;
  if (error == 0 && ::ioctl(fd, TIOCEXCL) != 0) error = errno;
  if (error != 0) {
    ::close(fd);
    return OpenFailure(device, error);
  }
  return fd;
}

void ReleaseSerialDevice(int fd) {
  // The exclusive mode belongs to the device, not to the descriptor: on a pseudo-terminal,
  // whose other end stays open, it would outlast us and keep out every later start.
  ::ioctl(fd, TIOCNXCL);
  ::close(fd);
}

}  // namespace tarnwell
