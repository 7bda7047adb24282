// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>

namespace tarnwell {

// Event codes of the communication event, as the receive handler distinguishes them.
namespace comm {
inline constexpr std::int16_t kSend = 1;
inline constexpr std::int16_t kReceive = 2;
inline constexpr std::int16_t kCts = 3;
inline constexpr std::int16_t kDsr = 4;
inline constexpr std::int16_t kCd = 5;
inline constexpr std::int16_t kRing = 6;
inline constexpr std::int16_t kEof = 7;
inline constexpr std::int16_t kBreak = 1001;
inline constexpr std::int16_t kFrame = 1004;
inline constexpr std::int16_t kOverrun = 1006;
inline constexpr std::int16_t kRxOver = 1008;
inline constexpr std::int16_t kRxParity = 1009;
inline constexpr std::int16_t kTxFull = 1010;
inline constexpr std::int16_t kDcb = 1011;
}  // namespace comm

// A failure of the serial control: the toolkit's error number and its description.
struct SerialError {
  int number = 0;
  std::string description;
};

// The serial-port control: choose the port and the settings while closed, open, close, and
// collect the characters received. The communication event is raised on the user-interface
// thread; inside it CommEvent() tells what happened.
class SerialPort {
 public:
  virtual ~SerialPort() = default;
  virtual std::optional<SerialError> SetCommPort(std::int16_t port) = 0;
  virtual std::int16_t CommPort() const = 0;
  // "9600,n,8,1": the speed's digits followed by the framing.
  virtual std::optional<SerialError> SetSettings(const std::string& settings) = 0;
  virtual std::string Settings() const = 0;
  virtual bool PortOpen() const = 0;
  virtual std::optional<SerialError> SetPortOpen(bool open) = 0;
  virtual std::int16_t CommEvent() const = 0;
  // Returns the characters received so far, in arrival order, and removes them.
  virtual std::string Input() = 0;
  virtual void SetOnComm(std::function<void()> handler) = 0;
  // How long received characters may wait in the port before the communication event tells
  // of them. The port may tell sooner: the first characters after a quiet spell, or a fast
  // line's characters before its buffer fills.
  virtual void SetMaxWait(int ms) { (void)ms; }
  // Goes up each time a device is opened, also when a vanished one is opened again by itself:
  // what was received from the device before belongs to another stream.
  virtual std::uint32_t Openings() const { return 0; }
};

}  // namespace tarnwell
