// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "platform/DateTime.h"

namespace tarnwell {

// A failure of the serial control: an error number and its description.
struct SerialError {
  int number = 0;
  std::string description;
};

// The characters that end a frame: carriage return and end of text.
constexpr bool EndsFrame(char c) { return c == '\r' || c == '\x03'; }

// One read of the line: where its characters end in Received::chars, the instant they were
// read (the frames among them came no later), and what came before them.
struct LineRead {
  enum class Follows {
    kLine,     // the characters before, as the line sent them
    kOpening,  // a fresh opening of the device: what came before belongs to another stream
    kLoss,     // characters lost on the way (an overrun, a full buffer): a gap
  };
  std::size_t end = 0;
  Instant at;
  Follows follows = Follows::kLine;
  // Frame ends among the characters the port dropped before this read, where it could not tell
  // whether some were lost.
  std::size_t framesDropped = 0;
};

// What the port hands over: the characters of one or more reads, in arrival order.
struct Received {
  std::string chars;
  std::vector<LineRead> reads;
};

// The serial-port control: choose the port and the settings while closed, open, close, and
// collect the characters received. It only listens. The receive handler is called on the
// user-interface thread when characters wait.
class SerialPort {
 public:
  virtual ~SerialPort() = default;
  virtual std::optional<SerialError> SetCommPort(std::int16_t port) = 0;
  virtual std::int16_t CommPort() const = 0;
  // "9600,n,8,1": the speed's digits followed by the framing.
  virtual std::optional<SerialError> SetSettings(const std::string& settings) = 0;
  virtual std::string Settings() const = 0;
  // Open as the program set it: a port may also count as open while it looks for a device that
  // vanished or was not there when it was opened (SetPortOpen then told the error).
  virtual bool PortOpen() const = 0;
  virtual std::optional<SerialError> SetPortOpen(bool open) = 0;
  // Returns what was received so far and removes it.
  virtual Received Input() = 0;
  virtual void SetOnComm(std::function<void()> handler) = 0;
  // How long received characters may wait in the port before the handler is called; each read
  // keeps its own instant however long it waits.
  virtual void SetMaxWait(int ms) { (void)ms; }
};

}  // namespace tarnwell
