// SPDX-License-Identifier: GPL-3.0-or-later
#include "acquisition/PortControl.h"

#include "i18n/TextIndex.h"

namespace tarnwell {

BaudChoice BaudFor(const std::string& baudIndex) {
  for (int i = 0; i < static_cast<int>(BaudTable.size()); ++i) {
    if (baudIndex == std::to_string(i)) return {i, BaudTable[static_cast<std::size_t>(i)]};
  }
  return {3, 9600};
}

std::string SerialFailureText(const LangTable& texts, const SerialError& error) {
  return texts.Text(text::kSerialFailure) + "  " + std::to_string(error.number) + ":" +
         error.description;
}

std::optional<SerialError> PortControl::SelectPort(std::int16_t number) {
  none_ = number == 0;
  if (none_) return std::nullopt;
  return port_.SetCommPort(number);
}

std::optional<SerialError> PortControl::SelectSpeed(int speed) {
  return port_.SetSettings(std::to_string(speed) + ",n,8,1");
}

std::optional<SerialError> PortControl::Open() {
  if (none_ || suspended_ || port_.PortOpen()) return std::nullopt;
  return port_.SetPortOpen(true);
}

void PortControl::Suspend() {
  suspended_ = true;
  Close();
}

std::optional<SerialError> PortControl::Resume() {
  suspended_ = false;
  return Open();
}

std::optional<SerialError> PortControl::Close() {
  if (!port_.PortOpen()) return std::nullopt;
  return port_.SetPortOpen(false);
}

}  // namespace tarnwell
