// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string_view>

#include "platform/Regional.h"

namespace tarnwell {

// The value of a typed text as the settings dialog reads it: leading blanks are skipped, then a
// sign, digits with one decimal separator (the regional one or ".") and an exponent are read up
// to the first character that cannot continue the number. "12abc" gives 12, "1 2" gives 1, a
// text without a leading number gives 0.
double LeadingNumber(std::string_view text, const Regional& regional);

}  // namespace tarnwell
