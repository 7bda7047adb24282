// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "Golden.h"
#include "platform/posix/DeviceNames.h"
#include "platform/posix/PosixSerialDevices.h"
#include "posix/TempDir.h"
#include "settings/PortDevice.h"

namespace tarnwell::testing {
namespace {

namespace fs = std::filesystem;

// Links in the program's ports/; /dev and /sys with a USB adapter named in sysfs, one named only
// by udev and a built-in port without a UART. Without a ports/COM<n> entry 1-32 are the built-in
// ports, 33-64 USB adapters and 65-96 modems.
TEST(PortDevice, LineForWhatIsTypedAndListOfDevices) {
  const TempDir dir;
  const std::string ports = dir / "program/ports/", root = dir / "root",
                    usb = root + "/sys/devices/usb1/1-1";
  for (const auto& folder : {ports, usb + "/1-1:1.0/ttyUSB0", root + "/sys/class/tty/ttyUSB0",
                             root + "/sys/class/tty/ttyS0", root + "/dev/serial/by-id"}) {
    fs::create_directories(folder);
  }
  for (const char* node : {"ttyUSB0", "ttyACM1", "ttyS0", "ttyAMA0"})
    std::ofstream(root + "/dev/" + node);
  std::ofstream(usb + "/manufacturer") << "FTDI\n";
  std::ofstream(usb + "/product") << "FT232R USB UART\n";
  std::ofstream(root + "/sys/class/tty/ttyS0/type") << "0\n";
  fs::create_symlink("/dev/ttyAMA0", ports + "COM5");
  fs::create_symlink("/nowhere/ttyX", ports + "COM7");
  fs::create_symlink("../../../devices/usb1/1-1/1-1:1.0/ttyUSB0",
                     root + "/sys/class/tty/ttyUSB0/device");
  fs::create_symlink("../../ttyACM1", root + "/dev/serial/by-id/usb-Acme_Scale_Link_0042-if00");

  const PosixSerialDevices devices(dir / "program", root);
  // The number is read as far as it goes, with the regional comma or a point; device names map
  // back to their numbers, none beyond a range or not as the system writes them.
  std::string lines;
  for (const char* typed :
       {"5", "7", "3,3e1x", " 6.6E+1", "1 2", "abc", "97", "-5", "150", "32", "64", "65", "96"})
    lines += '"' + std::string(typed) + "\" " + PortDeviceLine(typed, {',', '.'}, devices) + "\n";
  for (const char* device : {"/dev/ttyS0", "/dev/ttyS31", "/dev/ttyUSB0", "/dev/ttyUSB31",
                             "/dev/ttyACM0", "/dev/ttyACM31", "/dev/ttyS32", "/dev/ttyUSB05",
                             "/dev/ttyACM123", "/dev/ttyUSB", "/dev/ttyS1a", "/dev/ttyX1"})
    lines += device + (" " + std::to_string(MappedPort(device))) + "\n";
  EXPECT_TRUE(MatchesGolden("settings/golden/port_devices.txt", lines));
  EXPECT_EQ(PortDeviceList(devices),
            "Serial devices present, by port number:\n5: /dev/ttyAMA0 (ports/COM5)\n33: "
            "/dev/ttyUSB0, FTDI FT232R USB UART\n66: /dev/ttyACM1, Acme Scale Link");
}

}  // namespace
}  // namespace tarnwell::testing
