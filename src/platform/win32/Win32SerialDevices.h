// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "platform/SerialDevices.h"

namespace tarnwell {

// The device setup class of COM and LPT ports (GUID_DEVCLASS_PORTS).
inline constexpr GUID kPortsClass = {
    0x4d36e978, 0xe325, 0x11ce, {0xbf, 0xc1, 0x08, 0x00, 0x2b, 0xe1, 0x03, 0x18}};

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
