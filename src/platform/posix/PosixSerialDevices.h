// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>
#include <vector>

#include "platform/SerialDevices.h"

namespace tarnwell {

// The serial devices as /dev, /dev/serial/by-id and /sys/class/tty show them, and the
// ports/COM<n> entries of the data folder. `systemRoot` is prefixed to /dev and /sys (empty on a
// running system).
class PosixSerialDevices : public SerialDevices {
 public:
  explicit PosixSerialDevices(std::string dataFolder, std::string systemRoot = {});

  std::string DeviceFor(int port) const override;
  int PortOf(const std::string& device) const override;
  std::vector<int> PortEntries() const override;
  std::string PortEntryTarget(int port) const override;
  bool Present(const std::string& device) const override;
  std::string UsbName(const std::string& device) const override;
  std::vector<std::string> Devices() const override;

 private:
  std::string Entry(int port) const;
  std::string Sys(const std::string& path) const { return root_ + path; }

  std::string dataFolder_;
  std::string root_;
};

}  // namespace tarnwell
