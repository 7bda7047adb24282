// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>

#include "platform/Regional.h"
#include "platform/SerialDevices.h"

namespace tarnwell {

// The line under the settings window's frames: which device the number typed as the port opens,
// whether it is there now, and the maker and product of a USB adapter. "no port" for 0.
std::string PortDeviceLine(const std::string& typed, const Regional& regional,
                           const SerialDevices& devices);

// The port's tool tip: every serial device present with the number that opens it.
std::string PortDeviceList(const SerialDevices& devices);

}  // namespace tarnwell
