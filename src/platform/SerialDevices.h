// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>
#include <vector>

namespace tarnwell {

// What the system says about its serial devices, for telling the operator which port number
// opens which device. Devices are named as the system names them ("/dev/ttyUSB0", "COM5").
class SerialDevices {
 public:
  virtual ~SerialDevices() = default;
  // The device port number `port` opens when it has no ports/COM<n> entry; empty for a number
  // that opens none.
  virtual std::string DeviceFor(int port) const = 0;
  // The port number that opens `device` without an entry; 0 for a device no number opens.
  virtual int PortOf(const std::string& device) const = 0;
  // The numbers n for which the data folder holds an entry ports/COM<n> (a link, also one
  // that leads nowhere, or a file): such an entry is what n opens, before any mapped name.
  virtual std::vector<int> PortEntries() const = 0;
  // Where the entry ports/COM<n> leads, links followed as far as they go, as an absolute path.
  virtual std::string PortEntryTarget(int port) const = 0;
  // True when the device exists now (a built-in serial port also needs a UART behind it).
  virtual bool Present(const std::string& device) const = 0;
  // Maker and product of the adapter behind the device, as the system names them: on Linux a USB
  // adapter's, on Windows what its device setup calls any port; empty where the system says
  // nothing.
  virtual std::string UsbName(const std::string& device) const = 0;
  // The serial devices present now.
  virtual std::vector<std::string> Devices() const = 0;
};

}  // namespace tarnwell
