// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "platform/Regional.h"

namespace tarnwell {

// Lenient reading of a number from the start of a text, as frames and typed fields are read:
// blanks, tabs and line feeds are dropped wherever they stand, then a sign, digits with at most
// one ".", and an exponent (E, e, D or d) are taken up to the first character that does not fit.
// "&H" and "&O" prefixes read hexadecimal and octal. No digits at the start read as 0.
double Val(std::string_view text);
// The same reading for a frame from the line: nothing where the text holds no number at its start
// (an empty frame, "OL", "----", "&H" without digits) or one too large for a double ("1e309",
// 400 digits), which no reading can stand for.
std::optional<double> ReadingVal(std::string_view text);

// Strict conversion of a whole text to a number (blanks around it allowed), with the regional
// decimal separator or "."; nothing when the text is not a number.
std::optional<double> ToNumber(std::string_view text, const Regional& regional);

// The same for a number in config.ini, which may have been written under another regional
// setting: "," and "." are taken as the decimal mark as well (a lone number is never ambiguous).
std::optional<double> StoredNumber(std::string_view text, const Regional& regional);

// The value of a typed text: leading blanks are skipped, then a sign, digits with one decimal
// separator (the regional one or ".") and an exponent are read up to the first character that
// cannot continue the number. "12abc" gives 12, "1 2" gives 1, a text without a leading number
// (or one too large for a double) gives 0.
double LeadingNumber(std::string_view text, const Regional& regional);

// A number in its plain decimal form: up to `significant` digits, no leading blank, no
// grouping, the regional decimal separator (250, 0.5, -100000).
std::string NumberToText(double value, const Regional& regional, int significant = 15);

// Rounds to the nearest whole number, halves to even.
double RoundHalfEven(double value);

// The value rounded (halves to even) when it fits a 16-bit integer.
std::optional<std::int16_t> ToInt16(double value);

}  // namespace tarnwell
