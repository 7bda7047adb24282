// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/win32/Win32SerialDevices.h"

namespace tarnwell::testing {
namespace {

// Port n is COMn for the numbers the system has, 1 to 255; a name maps back only as the system
// writes it.
TEST(Win32SerialDevices, PortNumbersAndNamesMapOneToOne) {
  const Win32SerialDevices devices;
  std::vector<std::string> names;
  for (const int port : {-1, 0, 1, 9, 10, 99, 255, 256}) names.push_back(devices.DeviceFor(port));
  EXPECT_EQ(names,
            (std::vector<std::string>{"", "", "COM1", "COM9", "COM10", "COM99", "COM255", ""}));
  std::vector<int> ports;
  for (const char* name : {"COM1", "COM10", "COM255", "COM256", "COM0", "COM01", "com1", "COM",
                           "COM1a", "\\\\.\\COM1", "CNCA0", "COM1000"}) {
    ports.push_back(devices.PortOf(name));
  }
  EXPECT_EQ(ports, (std::vector<int>{1, 10, 255, 0, 0, 0, 0, 0, 0, 0, 0, 0}));
  EXPECT_TRUE(devices.PortEntries().empty());
  EXPECT_EQ(devices.PortEntryTarget(1), "");
}

}  // namespace
}  // namespace tarnwell::testing
