// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>
#include <vector>

namespace tarnwell {

// What the system says about its serial devices, for telling the operator which port number
// opens which device. Devices are named by their system paths ("/dev/ttyUSB0").
class SerialDevices {
 public:
  virtual ~SerialDevices() = default;
  // The numbers n for which the data folder holds an entry ports/COM<n> (a link, also one
  // that leads nowhere, or a file): such an entry is what n opens, before any mapped name.
  virtual std::vector<int> PortEntries() const = 0;
  // Where the entry ports/COM<n> leads, links followed as far as they go, as an absolute path.
  virtual std::string PortEntryTarget(int port) const = 0;
  // True when the device exists now; a built-in serial port also needs a UART behind it.
  virtual bool Present(const std::string& device) const = 0;
  // Maker and product of the USB adapter behind the device, as the system names them; empty for
  // a device that is no USB adapter or that the system says nothing about.
  virtual std::string UsbName(const std::string& device) const = 0;
  // The serial devices present now: ttyS with a UART behind it, ttyUSB and ttyACM.
  virtual std::vector<std::string> Devices() const = 0;
};

// The device a port number opens when no ports/COM<n> entry exists: 1-32 /dev/ttyS0-31,
// 33-64 /dev/ttyUSB0-31, 65-96 /dev/ttyACM0-31; empty for any other number.
std::string MappedDevice(int port);
// The port number MappedDevice gives the device for; 0 for a device no number maps to.
int MappedPort(const std::string& device);

}  // namespace tarnwell
