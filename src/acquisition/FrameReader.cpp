// SPDX-License-Identifier: GPL-3.0-or-later
#include "acquisition/FrameReader.h"

#include <algorithm>
#include <optional>

#include "acquisition/NumberFormat.h"
#include "config/NumberText.h"

namespace tarnwell {
namespace {

// The characters of `buffer` from 1-based position `from`, `count` of them, shorter where the
// buffer ends. Nothing when the window cannot be taken (negative length, position before 1).
std::optional<std::string_view> Window(std::string_view buffer, double from, double count) {
  const double pos = RoundHalfEven(from);
  const double len = RoundHalfEven(count);
  if (len < 0 || pos < 1) return std::nullopt;
  const auto p = static_cast<std::size_t>(pos) - 1;
  if (p >= buffer.size()) return std::string_view{};
  return buffer.substr(
      p, static_cast<std::size_t>(std::min<double>(len, static_cast<double>(buffer.size() - p))));
}

}  // namespace

std::optional<Reading> FrameReader::Read(std::string_view buffer, std::size_t start,
                                         std::size_t end, Instant readAt) const {
  double len = static_cast<double>(end) - static_cast<double>(start) + 1;
  // A NofChars that is not a number cannot cut the frame; the step is skipped.
  if (const auto nofChars = config_.CharacterCount(regional_); nofChars && *nofChars < len) {
    len = *nofChars;
  }
  // Only whole characters of this frame can be skipped. A negative or fractional count from a
  // hand-edited config.ini would reach into the previous frame, or move with the frame's place
  // in the buffer, and so read differently depending on how the port split the stream.
  const double omit = std::max(0.0, RoundHalfEven(config_.OmitCh));
  const double from = static_cast<double>(start) + omit;

  // A window that cannot be taken, holds no number (an empty frame, "OL", "----") or one too
  // large for a double is no reading: a 0 would look like a real weight, and a line repeating
  // the last value would look measured.
  const auto window = Window(buffer, from, len - omit);
  const auto value = window ? ReadingVal(*window) : std::nullopt;
  if (!value) return std::nullopt;
  Reading reading{*value, std::nullopt, readAt};
  if (const auto format = Window(buffer, from, len - omit - 1)) {
    if (const int dots = DecimalCount(*format); dots <= 255) {
      reading.decimals = static_cast<std::uint8_t>(dots);
    }
  }
  return reading;
}

}  // namespace tarnwell
