// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string_view>

namespace tarnwell {

// The font character set a language names in its text 1: exactly "162", "161", "178" or "204"
// (no blanks, no other spelling of the number); anything else is the default set 0.
int LangCharsetFromText(std::string_view text1);

// The Windows code page a language file of `charset` is written in. The default set 0, and any
// number that is none of the four, read as 1252 (Western).
int CodePageOfCharset(int charset);

}  // namespace tarnwell
