// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <windows.h>

#include <atomic>
#include <memory>
#include <string>

#include "platform/Clock.h"
#include "platform/SerialPort.h"
#include "platform/win32/MessageWindow.h"
#include "platform/win32/UniqueHandle.h"
#include "platform/win32/Win32CommDevice.h"
#include "platform/win32/Win32LineReader.h"

namespace tarnwell {

// What an operator can act on when COM port `device` cannot be opened or set: the device and
// what is wrong with it, numbered as on Linux (8001 not there, 8003 in use or failing).
SerialError ComPortFailure(const std::string& device, DWORD error);

// The serial control on a COM port, which it owns: port n is the system's COMn, 8 data bits,
// no parity, 1 stop bit. Opening, reading (a Win32LineReader), losing and opening again; it only
// listens. Reads are handed to the user-interface thread through `window`. An adapter that is
// pulled is closed without a message and the same port is opened again by itself, at most once
// a second, until the program closes the port. Make, use and destroy it on the user-interface
// thread; `window` and `clock` must outlive it.
class Win32SerialPort : public SerialPort {
 public:
  Win32SerialPort(MessageWindow& window, const Clock& clock);
  ~Win32SerialPort() override;
  Win32SerialPort(const Win32SerialPort&) = delete;
  Win32SerialPort& operator=(const Win32SerialPort&) = delete;

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
  std::string Device() const { return "COM" + std::to_string(commPort_); }
  std::optional<SerialError> Claim();
  std::optional<SerialError> OpenDevice();
  void CloseDevice();
  // On the reading thread: asks the user-interface thread for a hand-over, unless one is due.
  void Wake();
  // On the user-interface thread: hands over now, or when the wait allowed since the last one
  // is over.
  void Woken();
  void HandOver();
  void TryReopen();
  void StopTimer(UINT_PTR& timer);

  MessageWindow& window_;
  const Clock& clock_;
  std::int16_t commPort_ = 1;
  std::string settings_ = "9600,n,8,1";
  DWORD baud_ = 9600;
  int maxWaitMs_ = 0;
  bool wantOpen_ = false;
  // Held from opening to closing, through a pull: no other program of ours takes the port.
  UniqueHandle claim_;
  UniqueHandle handle_;
  std::unique_ptr<Win32CommDevice> device_;
  std::unique_ptr<Win32LineReader> reader_;
  std::function<void()> handler_;
  // Reads taken from a reader that has ended, not yet handed over.
  Received kept_;
  UINT_PTR reopenTimer_ = 0;
  UINT_PTR paceTimer_ = 0;
  ULONGLONG lastHandOverMs_ = 0;
  bool handedOver_ = false;
  // A hand-over is asked for or timed; reads need not wake the user-interface thread.
  std::atomic<bool> handOverDue_{false};
  // What posted wake-ups reach: the port while it lives.
  std::shared_ptr<Win32SerialPort*> self_;
};

}  // namespace tarnwell
