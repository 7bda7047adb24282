// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/win32/Win32SerialDevices.h"

#include <setupapi.h>

#include <algorithm>
#include <tuple>

#include "platform/win32/Utf16.h"

namespace tarnwell {
namespace {

constexpr int kMostPorts = 255;

// n for "COMn" as the system writes it, 1 to 255; 0 for any other name.
int ComNumber(const std::string& name) {
  if (name.size() < 4 || name.size() > 6 || name.compare(0, 3, "COM") != 0 || name[3] == '0') {
    return 0;
  }
  int n = 0;
  for (std::size_t i = 3; i < name.size(); ++i) {
    if (name[i] < '0' || name[i] > '9') return 0;
    n = n * 10 + (name[i] - '0');
  }
  return n <= kMostPorts ? n : 0;
}

// A string value of `key`; empty when it is missing or no string.
std::string StringValue(HKEY key, const wchar_t* name) {
  wchar_t value[256] = {};
  DWORD type = 0;
  DWORD size = sizeof value - sizeof(wchar_t);
  if (::RegQueryValueExW(key, name, nullptr, &type, reinterpret_cast<BYTE*>(value), &size) !=
          ERROR_SUCCESS ||
      type != REG_SZ) {
    return {};
  }
  return Narrow(value);
}

std::string Property(HDEVINFO set, SP_DEVINFO_DATA& device, DWORD property) {
  wchar_t value[256] = {};
  DWORD type = 0;
  if (!::SetupDiGetDeviceRegistryPropertyW(set, &device, property, &type,
                                           reinterpret_cast<BYTE*>(value),
                                           sizeof value - sizeof(wchar_t), nullptr) ||
      type != REG_SZ) {
    return {};
  }
  return Narrow(value);
}

// "USB Serial Port (COM5)" made by "FTDI": "FTDI USB Serial Port". The port is left out, since
// the line that shows the name names it; a maker already in the name or given as a kind of port
// in parentheses ("(Standard port types)") is left out too.
std::string AdapterName(std::string name, const std::string& maker, const std::string& device) {
  const std::string port = " (" + device + ")";
  if (name.size() >= port.size() &&
      name.compare(name.size() - port.size(), port.size(), port) == 0) {
    name.erase(name.size() - port.size());
  }
  if (maker.empty() || maker.front() == '(' || name.find(maker) != std::string::npos) return name;
  return name.empty() ? maker : maker + " " + name;
}

}  // namespace

std::string Win32SerialDevices::DeviceFor(int port) const {
  return port >= 1 && port <= kMostPorts ? "COM" + std::to_string(port) : std::string();
}

int Win32SerialDevices::PortOf(const std::string& device) const { return ComNumber(device); }

bool Win32SerialDevices::Present(const std::string& device) const {
  const std::vector<std::string> present = Devices();
  return std::find(present.begin(), present.end(), device) != present.end();
}

std::string Win32SerialDevices::UsbName(const std::string& device) const {
  const HDEVINFO set = ::SetupDiGetClassDevsW(&kPortsClass, nullptr, nullptr, DIGCF_PRESENT);
  if (set == INVALID_HANDLE_VALUE) return {};
  std::string name;
  SP_DEVINFO_DATA info{};
  info.cbSize = sizeof info;
  for (DWORD i = 0; name.empty() && ::SetupDiEnumDeviceInfo(set, i, &info); ++i) {
    const HKEY key = ::SetupDiOpenDevRegKey(set, &info, DICS_FLAG_GLOBAL, 0, DIREG_DEV, KEY_READ);
    if (key == INVALID_HANDLE_VALUE) continue;
    const bool ours = StringValue(key, L"PortName") == device;
    ::RegCloseKey(key);
    if (ours) {
      name = AdapterName(Property(set, info, SPDRP_FRIENDLYNAME), Property(set, info, SPDRP_MFG),
                         device);
    }
  }
  ::SetupDiDestroyDeviceInfoList(set);
  return name;
}

// The ports whose drivers are loaded, as the system lists them for programs: COM ports by their
// number, other names after them.
std::vector<std::string> Win32SerialDevices::Devices() const {
  std::vector<std::string> devices;
  HKEY key = nullptr;
  if (::RegOpenKeyExW(HKEY_LOCAL_MACHINE, L"HARDWARE\\DEVICEMAP\\SERIALCOMM", 0, KEY_QUERY_VALUE,
                      &key) != ERROR_SUCCESS) {
    return devices;
  }
  for (DWORD i = 0;; ++i) {
    wchar_t name[256];
    wchar_t value[256] = {};
    DWORD nameSize = 256, type = 0, size = sizeof value - sizeof(wchar_t);
    const LONG result = ::RegEnumValueW(key, i, name, &nameSize, nullptr, &type,
                                        reinterpret_cast<BYTE*>(value), &size);
    if (result == ERROR_NO_MORE_ITEMS) break;
    if (result == ERROR_SUCCESS && type == REG_SZ && value[0] != L'\0') {
      devices.push_back(Narrow(value));
    }
  }
  ::RegCloseKey(key);
  const auto order = [](const std::string& device) {
    const int n = ComNumber(device);
    return std::tuple(n == 0, n, device);
  };
  std::sort(devices.begin(), devices.end(),
            [&](const std::string& a, const std::string& b) { return order(a) < order(b); });
  devices.erase(std::unique(devices.begin(), devices.end()), devices.end());
  return devices;
}

}  // namespace tarnwell
