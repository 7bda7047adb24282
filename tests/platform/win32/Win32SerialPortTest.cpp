// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "FakeClock.h"
#include "platform/win32/Win32SerialDevices.h"
#include "platform/win32/Win32SerialPort.h"

namespace tarnwell::testing {
namespace {

std::string Told(const std::optional<SerialError>& error) {
  return error ? std::to_string(error->number) + ":" + error->description : "-";
}

// The system's reasons for a port that cannot be opened, as the operator is told them: Windows
// refuses a port another program holds as access denied.
TEST(Win32SerialPort, EachReasonAPortCannotBeOpenedIsToldWithThePort) {
  std::vector<std::string> told;
  for (const DWORD error : {ERROR_FILE_NOT_FOUND, ERROR_PATH_NOT_FOUND, ERROR_ACCESS_DENIED,
                            ERROR_SHARING_VIOLATION, ERROR_BUSY}) {
    told.push_back(Told(ComPortFailure("COM5", error)));
  }
  EXPECT_EQ(told,
            (std::vector<std::string>{
                "8001:No such file or directory (COM5)", "8001:No such file or directory (COM5)",
                "8003:in use by another program (COM5)", "8003:in use by another program (COM5)",
                "8003:in use by another program (COM5)"}));
  // Any other reason is the system's own words, in its language, with the port.
  const std::string other = Told(ComPortFailure("COM5", ERROR_GEN_FAILURE));
  EXPECT_TRUE(other.starts_with("8003:") && other.ends_with(" (COM5)") &&
              other.find("in use") == std::string::npos && other.size() > 13)
      << other;
}

// What the control refuses before any port is opened: no port number below 1, no speed that is
// not a positive number of bits a second.
TEST(Win32SerialPort, RefusesAPortBelowOneAndSettingsWithoutASpeed) {
  MessageWindow window;
  FakeClock clock;
  Win32SerialPort port(window, clock);
  std::vector<std::string> told;
  for (const std::int16_t number : {0, -1, 7}) told.push_back(Told(port.SetCommPort(number)));
  for (const char* settings : {"0,n,8,1", "abc", "-9600,n,8,1", "33600,n,8,1"}) {
    told.push_back(Told(port.SetSettings(settings)));
  }
  EXPECT_EQ(told,
            (std::vector<std::string>{"8002:Invalid port number", "8002:Invalid port number", "-",
                                      "380:Invalid property value", "380:Invalid property value",
                                      "380:Invalid property value", "-"}));
  EXPECT_EQ(std::tuple(port.CommPort(), port.Settings(), port.PortOpen()),
            std::tuple(std::int16_t{7}, std::string("33600,n,8,1"), false));
}

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
