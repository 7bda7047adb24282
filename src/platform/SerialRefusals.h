// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "platform/SerialPort.h"

namespace tarnwell {

// What the serial control refuses, with the numbers and texts it reports, alike on every
// platform.
SerialError PortAlreadyOpen();       // 8005: the port and the opening change only while closed
SerialError InvalidPortNumber();     // 8002: no port below 1, or none behind the number
SerialError InvalidPropertyValue();  // 380: a value the control cannot take

// Setting the port number: refused while the port is open, and below 1.
std::optional<SerialError> PortNumberRefusal(bool open, std::int16_t port);

// The speed at the front of settings such as "9600,n,8,1"; nothing where it is no speed a port
// runs at (the control refuses the settings with InvalidPropertyValue).
std::optional<int> SettingsSpeed(const std::string& settings);

}  // namespace tarnwell
