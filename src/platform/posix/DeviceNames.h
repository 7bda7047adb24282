// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>

namespace tarnwell {

// The data folder's entry that says which device port `port` is: <data folder>/ports/COM<n>.
std::string PortEntryPath(const std::string& dataFolder, int port);
// The device a port number opens when no ports/COM<n> entry exists: 1-32 /dev/ttyS0-31,
// 33-64 /dev/ttyUSB0-31, 65-96 /dev/ttyACM0-31; empty for any other number.
std::string MappedDevice(int port);
// The port number MappedDevice gives the device for; 0 for a device no number maps to.
int MappedPort(const std::string& device);

}  // namespace tarnwell
