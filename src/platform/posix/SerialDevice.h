// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>
#include <variant>

#include "platform/SerialPort.h"

namespace tarnwell {

// The device a port number opens: <data folder>/ports/COM<n> when that path exists (a link
// to any device), else 1-32 /dev/ttyS0-31, 33-64 /dev/ttyUSB0-31, 65-96 /dev/ttyACM0-31.
std::string DeviceForPort(int port, const std::string& dataFolder);

// Opens the terminal `device` for reading alone, held for this program (our own kind kept out
// by a lock, every other program but root's by the exclusive mode), in raw mode at `speed`.
// Gives the descriptor, or what an operator can act on: the device and what is wrong with it.
std::variant<int, SerialError> OpenSerialDevice(const std::string& device, int speed);

// Lets go of a descriptor OpenSerialDevice gave, and of the device's exclusive mode.
void ReleaseSerialDevice(int fd);

}  // namespace tarnwell
