// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/qt/QtSerialPort.h"

#include "platform/SerialRefusals.h"
#include "platform/posix/RawLine.h"
#include "platform/posix/SerialDevice.h"

namespace tarnwell {

QtSerialPort::QtSerialPort(std::string dataFolder, const Clock& clock)
    : dataFolder_(std::move(dataFolder)), clock_(clock) {
  reopen_.setInterval(1000);
  QObject::connect(&reopen_, &QTimer::timeout, [this] { TryReopen(); });
  pace_.setSingleShot(true);
  pace_.setTimerType(Qt::PreciseTimer);
  QObject::connect(&pace_, &QTimer::timeout, [this] { HandOver(); });
}

QtSerialPort::~QtSerialPort() { CloseDevice(); }

std::optional<SerialError> QtSerialPort::SetCommPort(std::int16_t port) {
  if (auto refused = PortNumberRefusal(wantOpen_, port)) return refused;
  commPort_ = port;
  return std::nullopt;
}

std::optional<SerialError> QtSerialPort::SetSettings(const std::string& settings) {
  const auto baud = SettingsSpeed(settings);
  if (!baud) return InvalidPropertyValue();
  settings_ = settings;
  baud_ = static_cast<int>(*baud);
  if (fd_ >= 0) SetRawLine(fd_, baud_);
  return std::nullopt;
}

std::optional<SerialError> QtSerialPort::SetPortOpen(bool open) {
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

std::optional<SerialError> QtSerialPort::OpenDevice(const std::string& device) {
  auto opened = OpenSerialDevice(device, baud_);
  if (auto* error = std::get_if<SerialError>(&opened)) return *error;
  fd_ = std::get<int>(opened);
  reader_ = std::make_unique<LineReader>(
      fd_, clock_, [this] { Wake(); }, LineReader::FlowOf(fd_));
  return std::nullopt;
}

void QtSerialPort::CloseDevice() {
  pace_.stop();
  reader_.reset();
  handOverDue_ = false;
  if (fd_ >= 0) ReleaseSerialDevice(fd_);
  fd_ = -1;
}

Received QtSerialPort::Input() {
  Received in;
  std::swap(in, kept_);
  if (reader_) reader_->TakeInto(in);
  return in;
}

void QtSerialPort::Wake() {
  if (handOverDue_.exchange(true)) return;
  QMetaObject::invokeMethod(
      &wakes_, [this] { Woken(); }, Qt::QueuedConnection);
}

// Each hand-over costs the program its handling, so they come no more often than the wait the
// program allows; the reads keep their own instants meanwhile.
void QtSerialPort::Woken() {
  const qint64 wait = lastHandOver_.isValid() ? maxWaitMs_ - lastHandOver_.elapsed() : 0;
  if (wait > 0) {
    pace_.start(static_cast<int>(wait));
  } else {
    HandOver();
  }
}

void QtSerialPort::HandOver() {
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

void QtSerialPort::TryReopen() {
  if (!wantOpen_ || fd_ >= 0) {
    reopen_.stop();
    return;
  }
  // Not mapped again: while a linked device is gone, the number maps to some other port.
  if (!OpenDevice(device_)) reopen_.stop();
}

}  // namespace tarnwell
