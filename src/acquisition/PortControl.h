// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <array>
#include <optional>
#include <string>

#include "i18n/LangTable.h"
#include "platform/SerialPort.h"

namespace tarnwell {

// Speeds in bit/s by BaudIndex; index 5 is 33600, not 38400.
inline constexpr std::array<int, 11> BaudTable = {1200,  2400,   4800,   9600,   19200, 33600,
                                                  57600, 115200, 230400, 460800, 921600};

// The port numbers the settings take: 0 (no port) to 99.
inline bool IsSettablePort(double number) { return number >= 0 && number <= 99; }

struct BaudChoice {
  int index;
  int speed;
};

// The speed for a BaudIndex text ("0" to "10" exactly); any other text gives 9600 at index 3.
BaudChoice BaudFor(const std::string& baudIndex);

// Text 5 followed by the control's error number and description, which names the device and
// what is wrong with it.
std::string SerialFailureText(const LangTable& texts, const SerialError& error);

// The serial control as the program sets it up: the port by number, where 0 is none, the speed,
// 8 data bits, no parity, 1 stop bit, and opening and closing. Start-up, Apply and the suspend
// switch all go through here.
class PortControl {
 public:
  explicit PortControl(SerialPort& port) : port_(port) {}

  // Port 0 selects none: opening then does nothing.
  std::optional<SerialError> SelectPort(std::int16_t number);
  std::optional<SerialError> SelectSpeed(int speed);
  // Opens the selected port unless it is open, none is selected or the program is suspended.
  std::optional<SerialError> Open();
  std::optional<SerialError> Close();

  // The Stop box: suspended, the port is closed and stays so whatever Apply changes; resuming
  // opens the port selected then.
  void Suspend();
  std::optional<SerialError> Resume();

 private:
  SerialPort& port_;
  bool none_ = false;
  bool suspended_ = false;
};

}  // namespace tarnwell
