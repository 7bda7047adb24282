// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/SerialRefusals.h"

#include <cstdlib>

namespace tarnwell {

SerialError PortAlreadyOpen() { return {8005, "Port already open"}; }
SerialError InvalidPortNumber() { return {8002, "Invalid port number"}; }
SerialError InvalidPropertyValue() { return {380, "Invalid property value"}; }

std::optional<SerialError> PortNumberRefusal(bool open, std::int16_t port) {
  if (open) return PortAlreadyOpen();
  if (port < 1) return InvalidPortNumber();
  return std::nullopt;
}

std::optional<int> SettingsSpeed(const std::string& settings) {
  const long baud = std::strtol(settings.substr(0, settings.find(',')).c_str(), nullptr, 10);
  if (baud <= 0 || baud > 4000000) return std::nullopt;
  return static_cast<int>(baud);
}

}  // namespace tarnwell
