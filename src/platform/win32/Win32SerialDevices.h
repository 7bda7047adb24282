// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>
#include <vector>

#include "platform/SerialDevices.h"

namespace tarnwell {

// The COM ports as the system lists them (HARDWARE\DEVICEMAP\SERIALCOMM) and names their
// adapters (SetupAPI's ports class). Port n is COMn; there are no ports/ entries on Windows.
class Win32SerialDevices : public SerialDevices {
 public:
  std::string DeviceFor(int port) const override;
  int PortOf(const std::string& device) const override;
  std::vector<int> PortEntries() const override { return {}; }
  std::string PortEntryTarget(int) const override { return {}; }
  bool Present(const std::string& device) const override;
  std::string UsbName(const std::string& device) const override;
  std::vector<std::string> Devices() const override;
};

}  // namespace tarnwell
