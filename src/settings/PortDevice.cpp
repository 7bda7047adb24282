// SPDX-License-Identifier: GPL-3.0-or-later
#include "settings/PortDevice.h"

#include <algorithm>
#include <map>

#include "acquisition/PortControl.h"
#include "config/NumberText.h"

namespace tarnwell {
namespace {

bool HasEntry(const SerialDevices& devices, int port) {
  const std::vector<int> entries = devices.PortEntries();
  return std::find(entries.begin(), entries.end(), port) != entries.end();
}

std::string WithUsbName(std::string text, const SerialDevices& devices, const std::string& dev) {
  const std::string usb = devices.UsbName(dev);
  return usb.empty() ? text : text + ", " + usb;
}

}  // namespace

std::string PortDeviceLine(const std::string& typed, const Regional& regional,
                           const SerialDevices& devices) {
  const double value = LeadingNumber(typed, regional);
  // Apply rounds what lies between whole numbers.
  const std::optional<std::int16_t> port = ToInt16(value);
  if (!IsSettablePort(value) || !port) return "no port number";
  if (*port == 0) return "no port";
  const std::string com = "COM" + std::to_string(*port);
  std::string device;
  std::string shown;
  if (HasEntry(devices, *port)) {
    device = devices.PortEntryTarget(*port);
    shown = "ports/" + com + " \u2192 " + device;
  } else {
    device = devices.DeviceFor(*port);
    if (device.empty()) return com + ": no device";
    shown = device;
  }
  if (!devices.Present(device)) return shown + ": not present";
  return WithUsbName(shown + ": present", devices, device);
}

std::string PortDeviceList(const SerialDevices& devices) {
  std::multimap<int, std::string> lines;  // by port number, 0 for none
  const std::vector<int> entries = devices.PortEntries();
  for (int port : entries) {
    const std::string device = devices.PortEntryTarget(port);
    if (devices.Present(device)) {
      lines.emplace(
          port, WithUsbName(device + " (ports/COM" + std::to_string(port) + ")", devices, device));
    }
  }
  for (const std::string& device : devices.Devices()) {
    int port = devices.PortOf(device);
    // An entry of the same number opens something else.
    if (std::find(entries.begin(), entries.end(), port) != entries.end()) port = 0;
    lines.emplace(port, WithUsbName(device, devices, device));
  }
  if (lines.empty()) return "No serial device present";
  std::string list = "Serial devices present, by port number:";
  for (const auto& [port, line] : lines) {
    list += "\n" + (port == 0 ? std::string("none") : std::to_string(port)) + ": " + line;
  }
  return list;
}

}  // namespace tarnwell
