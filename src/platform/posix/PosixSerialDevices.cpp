// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/posix/PosixSerialDevices.h"

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <fstream>
#include <regex>
#include <system_error>

#include "platform/posix/DeviceNames.h"

namespace tarnwell {
namespace fs = std::filesystem;
namespace {

// Follows a chain of links as far as it goes, also when its end does not exist; a loop ends
// after a bound number of steps.
fs::path FollowLinks(fs::path path) {
  std::error_code e;
  for (int step = 0; step < 40 && fs::is_symlink(path, e); ++step) {
    const fs::path target = fs::read_symlink(path, e);
    if (e) break;
    path = (target.is_absolute() ? target : path.parent_path() / target).lexically_normal();
  }
  return path;
}

std::string FirstLine(const fs::path& file) {
  std::ifstream in(file);
  std::string line;
  std::getline(in, line);
  while (!line.empty() && std::isspace(static_cast<unsigned char>(line.back())) != 0) {
    line.pop_back();
  }
  return line;
}

std::string Join(const std::string& a, const std::string& b) {
  if (a.empty()) return b;
  if (b.empty()) return a;
  return a + " " + b;
}

}  // namespace

PosixSerialDevices::PosixSerialDevices(std::string dataFolder, std::string systemRoot)
    : dataFolder_(std::move(dataFolder)), root_(std::move(systemRoot)) {}

std::string PosixSerialDevices::Entry(int port) const { return PortEntryPath(dataFolder_, port); }

std::string PosixSerialDevices::DeviceFor(int port) const { return MappedDevice(port); }

int PosixSerialDevices::PortOf(const std::string& device) const { return MappedPort(device); }

std::vector<int> PosixSerialDevices::PortEntries() const {
  static const std::regex name("COM([1-9][0-9]?)");
  std::vector<int> ports;
  std::error_code e;
  for (const fs::directory_entry& d : fs::directory_iterator(dataFolder_ + "/ports", e)) {
    std::smatch m;
    const std::string file = d.path().filename().string();
    if (std::regex_match(file, m, name)) ports.push_back(std::stoi(m[1].str()));
  }
  std::sort(ports.begin(), ports.end());
  return ports;
}

std::string PosixSerialDevices::PortEntryTarget(int port) const {
  return FollowLinks(Entry(port)).string();
}

bool PosixSerialDevices::Present(const std::string& device) const {
  std::error_code e;
  if (!fs::exists(Sys(device), e)) return false;
  // Built-in port nodes exist whether or not a UART answers; the kernel knows which do.
  const std::string name = fs::path(device).filename().string();
  if (name.rfind("ttyS", 0) != 0) return true;
  const fs::path type = Sys("/sys/class/tty/" + name + "/type");
  return !fs::exists(type, e) || FirstLine(type) != "0";
}

std::string PosixSerialDevices::UsbName(const std::string& device) const {
  std::error_code e;
  const fs::path node = FollowLinks(Sys(device));
  const std::string name = node.filename().string();
  // The USB device holding the adapter is an ancestor of the tty's own device.
  fs::path dir = fs::canonical(Sys("/sys/class/tty/" + name + "/device"), e);
  for (int up = 0; !e && up < 4 && dir.has_relative_path(); ++up, dir = dir.parent_path()) {
    if (fs::exists(dir / "product", e) || fs::exists(dir / "manufacturer", e)) {
      return Join(FirstLine(dir / "manufacturer"), FirstLine(dir / "product"));
    }
  }
  // Otherwise the name udev gives it: usb-<maker>_<product>_<serial>-if00-port0.
  static const std::regex byId("usb-(.+?)(_[0-9A-Za-z]+)?-if[0-9]+(-port[0-9]+)?");
  e.clear();
  for (const fs::directory_entry& d : fs::directory_iterator(Sys("/dev/serial/by-id"), e)) {
    if (FollowLinks(d.path()).filename() != name) continue;
    std::smatch m;
    std::string id = d.path().filename().string();
    if (std::regex_match(id, m, byId)) id = m[1].str();
    std::replace(id.begin(), id.end(), '_', ' ');
    return id;
  }
  return {};
}

std::vector<std::string> PosixSerialDevices::Devices() const {
  static const std::regex name("tty(S|USB|ACM)[0-9]+");
  std::vector<std::string> devices;
  std::error_code e;
  for (const fs::directory_entry& d : fs::directory_iterator(Sys("/dev"), e)) {
    const std::string device = "/dev/" + d.path().filename().string();
    if (std::regex_match(d.path().filename().string(), name) && Present(device)) {
      devices.push_back(device);
    }
  }
  std::sort(devices.begin(), devices.end());
  return devices;
}

}  // namespace tarnwell
