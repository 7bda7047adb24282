// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "platform/Regional.h"

namespace tarnwell {

// Number of characters after the first "." of the text (whatever they are); 0 without a
// point or for a one-character text.
int DecimalCount(std::string_view TheString);

// The pattern for a decimal count: "#0", "#0.0" ... "#0.000000", and "#0." from 7 on.
std::string FormatForDecimals(std::uint8_t point);

// Formats `value` with a pattern of FormatForDecimals ("0" is taken as "#0"): decimals rounded half
// away from zero, at least one integer digit, no grouping, the regional decimal separator. An
// empty pattern gives the general number format. Nothing for a value that cannot be shown
// (infinite or not a number).
std::optional<std::string> FormatNumber(double value, std::string_view pattern,
                                        const Regional& regional);

}  // namespace tarnwell
