// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/qt/QtSerialPort.h"

#include <sys/stat.h>
#include <termios.h>
#include <unistd.h>

#include <QFileInfo>
#include <QSocketNotifier>
#include <algorithm>
#include <cerrno>
#include <cstdlib>

#include "platform/SerialDevices.h"

namespace tarnwell {
namespace {

// Characters a read may leave waiting: half of what a terminal's buffer holds (4096), some
// 22 ms at 921600 bit/s.
constexpr int kWaitingChars = 2048;

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

std::string DeviceForPort(int port, const std::string& dataFolder) {
  const std::string linked = dataFolder + "/ports/COM" + std::to_string(port);
  if (QFileInfo::exists(QString::fromStdString(linked)) ||
      QFileInfo(QString::fromStdString(linked)).isSymLink()) {
    return linked;
  }
  return MappedDevice(port);
}

QtSerialPort::QtSerialPort(std::string dataFolder) : dataFolder_(std::move(dataFolder)) {
  port_.setReadBufferSize(0);
  QObject::connect(&port_, &QSerialPort::readyRead, [this] { Arrived(); });
  QObject::connect(&port_, &QSerialPort::errorOccurred,
                   [this](QSerialPort::SerialPortError e) { OnError(e); });
  reopen_.setInterval(1000);
  QObject::connect(&reopen_, &QTimer::timeout, [this] { TryReopen(); });
  check_.setInterval(200);
  QObject::connect(&check_, &QTimer::timeout, [this] { CheckDevice(); });
  poll_.setTimerType(Qt::PreciseTimer);
  PaceReads();
  QObject::connect(&poll_, &QTimer::timeout, [this] { Poll(); });
}

// At full speed a terminal delivers a character or two per wake-up, thousands a second, and each
// one costs the whole event loop. So the toolkit only wakes us for the first characters after a
// quiet spell; while characters keep coming, all that is waiting is read on a timer, as often as
// the program asks (SetMaxWait) and the line's speed needs. A read that finds nothing hands the
// line back to the toolkit's watch.
void QtSerialPort::SetMaxWait(int ms) {
  if (ms == maxWaitMs_) return;
  maxWaitMs_ = ms;
  PaceReads();
}

void QtSerialPort::PaceReads() {
  const int filling = static_cast<int>(1000LL * kWaitingChars * 10 / std::max(baud_, 1));
  const int ms = std::max(1, std::min(maxWaitMs_, filling));
  if (poll_.interval() != ms) poll_.setInterval(ms);
}

void QtSerialPort::StartReading() {
  poll_.stop();
  watch_.clear();
  for (QSocketNotifier* n : port_.findChildren<QSocketNotifier*>()) {
    if (n->type() == QSocketNotifier::Read) watch_ = n;
  }
  Watch(true);
}

void QtSerialPort::Watch(bool on) {
  if (watch_) watch_->setEnabled(on);
}

void QtSerialPort::Arrived() {
  if (!port_.isOpen()) return;
  // What the toolkit took came first. Taking it lets the toolkit watch again, so the watch is
  // switched off after.
  const QByteArray held = port_.readAll();
  taken_.append(held.constData(), static_cast<std::size_t>(held.size()));
  Watch(false);
  ReadWaiting();
  if (port_.isOpen() && !poll_.isActive()) {
    poll_.start();
    // While characters keep coming, a device that went away fails the timer's reads.
    check_.stop();
  }
  if (!taken_.empty()) Raise(comm::kReceive);
}

void QtSerialPort::Poll() {
  if (!port_.isOpen()) {
    poll_.stop();
    return;
  }
  if (ReadWaiting()) {
    Raise(comm::kReceive);
    return;
  }
  if (!port_.isOpen()) return;
  poll_.stop();
  Watch(true);
  check_.start();
}

bool QtSerialPort::ReadWaiting() {
  const int fd = static_cast<int>(port_.handle());
  bool any = false;
  char buffer[8192];
  for (;;) {
    const ssize_t n = ::read(fd, buffer, sizeof buffer);
    if (n > 0) {
      taken_.append(buffer, static_cast<std::size_t>(n));
      any = true;
      if (static_cast<std::size_t>(n) < sizeof buffer) return any;
      continue;
    }
    if (n < 0 && errno == EINTR) continue;
    // Nothing waiting reads as 0 or EAGAIN; a device that went away as an error.
    if (n < 0 && errno != EAGAIN && errno != EWOULDBLOCK) Lost();
    return any;
  }
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
  PaceReads();
  if (port_.isOpen()) port_.setBaudRate(baud_);
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
  taken_.clear();
  StartReading();
  check_.start();
  return std::nullopt;
}

std::optional<SerialError> QtSerialPort::SetPortOpen(bool open) {
  reopen_.stop();
  if (!open) {
    check_.stop();
    poll_.stop();
    taken_.clear();
    wantOpen_ = false;
    if (port_.isOpen()) port_.close();
    return std::nullopt;
  }
  if (wantOpen_) return SerialError{8005, "Port already open"};
  const std::string device = DeviceForPort(commPort_, dataFolder_);
  if (device.empty()) return SerialError{8002, "Invalid port number"};
  if (auto e = OpenDevice(device)) return e;
  device_ = device;
  wantOpen_ = true;
  return std::nullopt;
}

std::string QtSerialPort::Input() {
  // Whatever the toolkit held was moved here when it woke us.
  std::string input;
  input.swap(taken_);
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
  poll_.stop();
  if (port_.isOpen()) port_.close();
  if (wantOpen_) reopen_.start();
}

// A quiet line shows no failing read: the device is asked for its settings instead.
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
