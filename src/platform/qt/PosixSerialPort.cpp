// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/qt/PosixSerialPort.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <initializer_list>

#include "platform/SerialRefusals.h"
#include "platform/posix/DeviceNames.h"
#include "platform/posix/RawLine.h"

namespace tarnwell {
namespace {

// What an operator can act on: the device, and what is wrong with it.
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

PosixSerialPort::PosixSerialPort(std::string dataFolder, const Clock& clock)
    : dataFolder_(std::move(dataFolder)), clock_(clock) {
  reopen_.setInterval(1000);
  QObject::connect(&reopen_, &QTimer::timeout, [this] { TryReopen(); });
  pace_.setSingleShot(true);
  pace_.setTimerType(Qt::PreciseTimer);
  QObject::connect(&pace_, &QTimer::timeout, [this] { HandOver(); });
}

PosixSerialPort::~PosixSerialPort() { CloseDevice(); }

std::optional<SerialError> PosixSerialPort::SetCommPort(std::int16_t port) {
  if (auto refused = PortNumberRefusal(wantOpen_, port)) return refused;
  commPort_ = port;
  return std::nullopt;
}

std::optional<SerialError> PosixSerialPort::SetSettings(const std::string& settings) {
  const auto baud = SettingsSpeed(settings);
  if (!baud) return InvalidPropertyValue();
  settings_ = settings;
  baud_ = static_cast<int>(*baud);
  if (fd_ >= 0) SetRawLine(fd_, baud_);
  return std::nullopt;
}

std::optional<SerialError> PosixSerialPort::SetPortOpen(bool open) {
  reopen_.stop();
  if (!open) {
    wantOpen_ = false;
    CloseDevice();
    kept_ = {};
    return std::nullopt;
  }
  if (wantOpen_) return PortAlreadyOpen();
  const std::string device = DeviceForPort(commPort_, dataFolder_);
  if (device.empty()) return InvalidPortNumber();
  device_ = device;
  wantOpen_ = true;
  // A device not there yet (an adapter the computer has not set up yet, one in use) is looked
  // for as one pulled out is; the error still tells why it is not open now.
  auto error = OpenDevice(device);
  if (error) reopen_.start();
  return error;
}

std::optional<SerialError> PosixSerialPort::OpenDevice(const std::string& device) {
  const int fd = ::open(device.c_str(), O_RDONLY | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
  if (fd < 0) return OpenFailure(device, errno);
  // Another program holding the device is asked before its settings are touched; the lock
  // keeps out our own kind, the exclusive mode every program but root's.
  int error = ::flock(fd, LOCK_EX | LOCK_NB) == 0 ? SetRawLine(fd, baud_) : errno;
  if (error == 0 && ::ioctl(fd, TIOCEXCL) != 0) error = errno;
  if (error != 0) {
    ::close(fd);
    return OpenFailure(device, error);
  }
  fd_ = fd;
  reader_ = std::make_unique<LineReader>(
      fd_, clock_, [this] { Wake(); }, LineReader::FlowOf(fd_));
  return std::nullopt;
}

void PosixSerialPort::CloseDevice() {
  pace_.stop();
  reader_.reset();
  handOverDue_ = false;
  if (fd_ >= 0) {
    // The exclusive mode belongs to the device, not to the descriptor: on a pseudo-terminal,
    // whose other end stays open, it would outlast us and keep out every later start.
    ::ioctl(fd_, TIOCNXCL);
    ::close(fd_);
  }
  fd_ = -1;
}

Received PosixSerialPort::Input() {
  Received in;
  std::swap(in, kept_);
  if (reader_) reader_->TakeInto(in);
  return in;
}

void PosixSerialPort::Wake() {
  if (handOverDue_.exchange(true)) return;
  QMetaObject::invokeMethod(
      &wakes_, [this] { Woken(); }, Qt::QueuedConnection);
}

// Each hand-over costs the program its handling, so they come no more often than the wait the
// program allows; the reads keep their own instants meanwhile.
void PosixSerialPort::Woken() {
  const qint64 wait = lastHandOver_.isValid() ? maxWaitMs_ - lastHandOver_.elapsed() : 0;
  if (wait > 0) {
    pace_.start(static_cast<int>(wait));
  } else {
    HandOver();
  }
}

void PosixSerialPort::HandOver() {
  handOverDue_ = false;
  lastHandOver_.start();
  // A device gone leaves what it read here; it is looked for again once a second.
  if (reader_ && reader_->Lost()) {
    reader_->TakeInto(kept_);
    CloseDevice();
    if (wantOpen_) reopen_.start();
  }
  if (handler_) handler_();
}

void PosixSerialPort::TryReopen() {
  if (!wantOpen_ || fd_ >= 0) {
    reopen_.stop();
    return;
  }
  // Not mapped again: while a linked device is gone, the number maps to some other port.
  if (!OpenDevice(device_)) reopen_.stop();
}

}  // namespace tarnwell
