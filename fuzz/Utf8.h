// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string_view>

namespace tarnwell::fuzz {

// True when `s` is well-formed UTF-8: no stray continuation bytes, no overlong forms, no
// surrogates, nothing above U+10FFFF, no sequence cut short.
bool IsUtf8(std::string_view s);

}  // namespace tarnwell::fuzz
