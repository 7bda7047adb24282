// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QElapsedTimer>
#include <QObject>
#include <QTimer>
#include <atomic>
#include <memory>
#include <string>

#include "platform/Clock.h"
#include "platform/SerialPort.h"
#include "platform/posix/LineReader.h"

namespace tarnwell {

// The serial control on a terminal device, on the toolkit's event loop: opening, reading (a
// LineReader), losing and opening again. Only listens. A device that vanishes (an adapter
// pulled, a terminal hung up) is closed without a message and the same device is opened again
// by itself, at most once a second, until the program closes the port. So is one that cannot be
// opened when the port is opened: the port counts as open, and the error says why it is not.
class QtSerialPort : public SerialPort {
 public:
  QtSerialPort(std::string dataFolder, const Clock& clock);
  ~QtSerialPort() override;

  std::optional<SerialError> SetCommPort(std::int16_t port) override;
  std::int16_t CommPort() const override { return commPort_; }
  std::optional<SerialError> SetSettings(const std::string& settings) override;
  std::string Settings() const override { return settings_; }
  bool PortOpen() const override { return wantOpen_; }
  std::optional<SerialError> SetPortOpen(bool open) override;
  Received Input() override;
  void SetOnComm(std::function<void()> handler) override { handler_ = std::move(handler); }
  void SetMaxWait(int ms) override { maxWaitMs_ = ms; }

 private:
  std::optional<SerialError> OpenDevice(const std::string& device);
  void CloseDevice();
  // On the reading thread: asks the user-interface thread for a hand-over, unless one is due.
  void Wake();
  // On the user-interface thread: hands over now, or when the wait allowed since the last one
  // is over.
  void Woken();
  void HandOver();
  void TryReopen();

  std::string dataFolder_;
  const Clock& clock_;
  std::int16_t commPort_ = 1;
  std::string settings_ = "9600,n,8,1";
  int baud_ = 9600;
  int maxWaitMs_ = 0;
  bool wantOpen_ = false;
  // The device the port was opened on; the one looked for while it is gone.
  std::string device_;
  int fd_ = -1;
  std::function<void()> handler_;
  // Reads taken from a reader that has ended, not yet handed over.
  Received kept_;
  QTimer reopen_;
  QTimer pace_;
  QElapsedTimer lastHandOver_;
  // A hand-over is asked for or timed; reads need not wake the user-interface thread.
  std::atomic<bool> handOverDue_{false};
  // The user-interface thread's end of the reader's wake-ups; gone with the port.
  QObject wakes_;
  std::unique_ptr<LineReader> reader_;
};

}  // namespace tarnwell
