// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/qt/QtSerialPort.h"

#include <sys/ioctl.h>
#include <sys/stat.h>
#include <termios.h>
#include <unistd.h>

#include <QFileInfo>
#include <algorithm>
#include <cerrno>
#include <cstdlib>

#include "platform/SerialDevices.h"

namespace tarnwell {
namespace {

constexpr int kSweepMs = 10;

// QSerialPort's error numbers are small; keep them apart from the line-event codes.
SerialError ErrorOf(const QSerialPort& port) {
  return SerialError{8000 + static_cast<int>(port.error()), port.errorString().toStdString()};
}

// What an operator can act on. The toolkit reports a path that is no terminal as "No error",
// and a device another program holds as a permission error, which sends the operator to the
// group membership instead of the other program.
std::string OpenFailure(const std::string& device, QSerialPort::SerialPortError error,
                        const std::string& said) {
  struct stat st {};
  const int found = ::stat(device.c_str(), &st);
  if (found != 0 && errno == ENOENT) return said;
  if (found != 0 || !S_ISCHR(st.st_mode)) return "not a serial device";
  switch (error) {
    case QSerialPort::PermissionError:
      return ::access(device.c_str(), R_OK) == 0 ? "in use by another program" : said;
    case QSerialPort::NoError:
    case QSerialPort::UnsupportedOperationError:
    case QSerialPort::UnknownError:
      return "not a serial device";
    default:
      return said;
  }
}

}  // namespace

std::string DeviceForPort(int port, const std::string& programFolder) {
  const std::string linked = programFolder + "/ports/COM" + std::to_string(port);
  if (QFileInfo::exists(QString::fromStdString(linked)) ||
      QFileInfo(QString::fromStdString(linked)).isSymLink()) {
    return linked;
  }
  return MappedDevice(port);
}

QtSerialPort::QtSerialPort(std::string programFolder) : programFolder_(std::move(programFolder)) {
  port_.setReadBufferSize(0);
  QObject::connect(&port_, &QSerialPort::readyRead, [this] { Raise(comm::kReceive); });
  QObject::connect(&port_, &QSerialPort::errorOccurred,
                   [this](QSerialPort::SerialPortError e) { OnError(e); });
  reopen_.setInterval(1000);
  QObject::connect(&reopen_, &QTimer::timeout, [this] { TryReopen(); });
  check_.setInterval(200);
  QObject::connect(&check_, &QTimer::timeout, [this] { CheckDevice(); });
  sweep_.setInterval(kSweepMs);
  QObject::connect(&sweep_, &QTimer::timeout, [this] { Sweep(); });
}

// At full speed a terminal delivers a character or two per wake-up, thousands a second, and each
// one costs the whole event loop. The line discipline can hold the reader back until half a
// sweep's worth of characters is waiting (VMIN); what a quiet line leaves below that is taken by
// the sweep, every 10 ms, well inside the fastest refresh.
void QtSerialPort::BatchWakeups() {
  sweep_.stop();
  if (!port_.isOpen()) return;
  const int fd = static_cast<int>(port_.handle());
  termios settings{};
  if (::tcgetattr(fd, &settings) != 0) return;
  const int wanted = std::clamp(static_cast<int>(baud_) / 10 * kSweepMs / 2000, 1, 128);
  settings.c_cc[VMIN] = static_cast<cc_t>(wanted);
  settings.c_cc[VTIME] = 0;
  if (::tcsetattr(fd, TCSANOW, &settings) == 0 && wanted > 1) sweep_.start();
}

void QtSerialPort::Sweep() {
  if (!port_.isOpen()) return;
  const int fd = static_cast<int>(port_.handle());
  int waiting = 0;
  if (::ioctl(fd, FIONREAD, &waiting) != 0 || waiting <= 0) return;
  // What the toolkit holds came first; it goes ahead of what is read here.
  const QByteArray held = port_.readAll();
  swept_.append(held.constData(), static_cast<std::size_t>(held.size()));
  char buffer[4096];
  const ssize_t n = ::read(fd, buffer, std::min(sizeof buffer, static_cast<std::size_t>(waiting)));
  if (n > 0) swept_.append(buffer, static_cast<std::size_t>(n));
  if (!swept_.empty()) Raise(comm::kReceive);
}

std::optional<SerialError> QtSerialPort::SetCommPort(std::int16_t port) {
  if (wantOpen_) return SerialError{8005, "Port already open"};
  if (port < 1) return SerialError{8002, "Invalid port number"};
  commPort_ = port;
  return std::nullopt;
}

std::optional<SerialError> QtSerialPort::SetSettings(const std::string& settings) {
  const auto comma = settings.find(',');
  char* end = nullptr;
  const long baud = std::strtol(settings.substr(0, comma).c_str(), &end, 10);
  if (baud <= 0 || baud > 4000000) return SerialError{380, "Invalid property value"};
  settings_ = settings;
  baud_ = static_cast<qint32>(baud);
  if (port_.isOpen()) {
    port_.setBaudRate(baud_);
    BatchWakeups();
  }
  return std::nullopt;
}

std::optional<SerialError> QtSerialPort::OpenDevice(const std::string& device) {
  port_.setPortName(QString::fromStdString(device));
  port_.setBaudRate(baud_);
  port_.setDataBits(QSerialPort::Data8);
  port_.setParity(QSerialPort::NoParity);
  port_.setStopBits(QSerialPort::OneStop);
  port_.setFlowControl(QSerialPort::NoFlowControl);
  if (!port_.open(QIODevice::ReadOnly)) {
    SerialError e = ErrorOf(port_);
    e.description = OpenFailure(device, port_.error(), e.description) + " (" + device + ")";
    port_.clearError();
    return e;
  }
  ++openings_;
  swept_.clear();
  BatchWakeups();
  check_.start();
  return std::nullopt;
}

std::optional<SerialError> QtSerialPort::SetPortOpen(bool open) {
  reopen_.stop();
  if (!open) {
    check_.stop();
    sweep_.stop();
    swept_.clear();
    wantOpen_ = false;
    if (port_.isOpen()) port_.close();
    return std::nullopt;
  }
  if (wantOpen_) return SerialError{8005, "Port already open"};
  const std::string device = DeviceForPort(commPort_, programFolder_);
  if (device.empty()) return SerialError{8002, "Invalid port number"};
  if (auto e = OpenDevice(device)) return e;
  device_ = device;
  wantOpen_ = true;
  return std::nullopt;
}

std::string QtSerialPort::Input() {
  std::string input;
  input.swap(swept_);
  const QByteArray bytes = port_.readAll();
  input.append(bytes.constData(), static_cast<std::size_t>(bytes.size()));
  return input;
}

void QtSerialPort::Raise(std::int16_t code) {
  event_ = code;
  if (handler_) handler_();
}

void QtSerialPort::OnError(QSerialPort::SerialPortError error) {
  switch (error) {
    case QSerialPort::NoError:
    case QSerialPort::OpenError:
    case QSerialPort::DeviceNotFoundError:
    case QSerialPort::PermissionError:
      return;  // reported by the open call itself
    case QSerialPort::ResourceError:
      port_.clearError();
      Lost();
      return;
    default:
      port_.clearError();
      if (port_.isOpen()) Raise(comm::kDcb);
      return;
  }
}

// The device went away: close quietly and look for it again once a second.
void QtSerialPort::Lost() {
  check_.stop();
  sweep_.stop();
  if (port_.isOpen()) port_.close();
  if (wantOpen_) reopen_.start();
}

void QtSerialPort::CheckDevice() {
  termios settings{};
  if (port_.isOpen() && ::tcgetattr(static_cast<int>(port_.handle()), &settings) != 0) Lost();
}

void QtSerialPort::TryReopen() {
  if (!wantOpen_ || port_.isOpen()) {
    reopen_.stop();
    return;
  }
  // Not mapped again: while a linked device is gone, the number maps to some other port.
  if (!OpenDevice(device_)) reopen_.stop();
}

}  // namespace tarnwell
