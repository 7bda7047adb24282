// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QObject>
#include <QPointer>
#include <QSerialPort>
#include <QSocketNotifier>
#include <QTimer>
#include <string>

#include "platform/SerialPort.h"

namespace tarnwell {

// The device a port number opens: <data folder>/ports/COM<n> when that path exists (a link
// to any device), else 1-32 /dev/ttyS0-31, 33-64 /dev/ttyUSB0-31, 65-96 /dev/ttyACM0-31.
std::string DeviceForPort(int port, const std::string& dataFolder);

// The serial control on QSerialPort. Only listens. A device that vanishes (an adapter pulled)
// is closed without a message and the same device is opened again by itself, at most once a
// second, until the program closes the port. A hung-up terminal only reads as end of file, which
// QSerialPort does not report, so an open device is also checked a few times a second.
class QtSerialPort : public SerialPort {
 public:
  explicit QtSerialPort(std::string dataFolder);

  std::optional<SerialError> SetCommPort(std::int16_t port) override;
  std::int16_t CommPort() const override { return commPort_; }
  std::optional<SerialError> SetSettings(const std::string& settings) override;
  std::string Settings() const override { return settings_; }
  bool PortOpen() const override { return wantOpen_; }
  std::optional<SerialError> SetPortOpen(bool open) override;
  std::int16_t CommEvent() const override { return event_; }
  std::string Input() override;
  void SetOnComm(std::function<void()> handler) override { handler_ = std::move(handler); }
  void SetMaxWait(int ms) override;
  std::uint32_t Openings() const override { return openings_; }

  // True while the device is really open (not waiting for a vanished device to come back).
  bool DeviceOpen() const { return port_.isOpen(); }

 private:
  std::optional<SerialError> OpenDevice(const std::string& device);
  void Raise(std::int16_t code);
  void OnError(QSerialPort::SerialPortError error);
  void TryReopen();
  void CheckDevice();
  void Lost();
  // Reading: the toolkit's watch wakes us for the first characters after a quiet spell, then
  // the timer reads all that is waiting until a read finds nothing.
  void StartReading();
  void Watch(bool on);
  void Arrived();
  void Poll();
  // Appends all that is waiting in the device to taken_; true when there was any.
  bool ReadWaiting();
  // The timer's interval: the wait allowed, shorter where the line would fill the buffer.
  void PaceReads();

  std::string dataFolder_;
  QSerialPort port_;
  QTimer reopen_;
  QTimer check_;
  QTimer poll_;
  // The toolkit's own watch on the device, switched off while the timer reads.
  QPointer<QSocketNotifier> watch_;
  // Characters read and not yet handed out by Input(), in arrival order.
  std::string taken_;
  std::int16_t commPort_ = 1;
  std::string settings_ = "9600,n,8,1";
  qint32 baud_ = 9600;
  int maxWaitMs_ = 8;
  bool wantOpen_ = false;
  // The device the port was opened on; the one looked for while it is gone.
  std::string device_;
  std::uint32_t openings_ = 0;
  std::int16_t event_ = 0;
  std::function<void()> handler_;
};

}  // namespace tarnwell
