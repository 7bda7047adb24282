// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/posix/DeviceNames.h"

#include <cctype>

namespace tarnwell {
namespace {

struct Range {
  const char* prefix;
  int first;  // the port number of device 0
};
constexpr Range kRanges[] = {{"/dev/ttyS", 1}, {"/dev/ttyUSB", 33}, {"/dev/ttyACM", 65}};
constexpr int kPerRange = 32;

}  // namespace

std::string PortEntryPath(const std::string& dataFolder, int port) {
  return dataFolder + "/ports/COM" + std::to_string(port);
}

std::string MappedDevice(int port) {
  for (const Range& r : kRanges) {
    if (port >= r.first && port < r.first + kPerRange) {
      return r.prefix + std::to_string(port - r.first);
    }
  }
  return {};
}

int MappedPort(const std::string& device) {
  for (const Range& r : kRanges) {
    const std::string prefix = r.prefix;
    if (device.compare(0, prefix.size(), prefix) != 0) continue;
    const std::string digits = device.substr(prefix.size());
    if (digits.empty() || digits.size() > 2) return 0;
    for (char c : digits) {
      if (std::isdigit(static_cast<unsigned char>(c)) == 0) return 0;
    }
    const int n = std::stoi(digits);
    return n < kPerRange && std::to_string(n) == digits ? r.first + n : 0;
  }
  return 0;
}

}  // namespace tarnwell
