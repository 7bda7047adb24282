// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>
#include <string_view>

namespace tarnwell::fuzz {

// Each entry runs one reader of outside input on arbitrary bytes and checks what must hold
// whatever the bytes were. The result is empty when all held, else what broke. Crashes,
// hangs and sanitizer reports are left to the caller's tooling.

// The receive path: a header picks NofChars, OmitCh, NofSamples, the history size and the
// recording switches; the rest is a script of characters in chunks, bare characters, line
// conditions and clock steps (see ReceiveFuzz.cpp).
std::string FuzzReceive(std::string_view bytes);

// The bytes as config.ini: read, written, and the written file read and written again, once
// with "." and once with "," as the regional decimal separator.
std::string FuzzConfig(std::string_view bytes);

// The bytes as a language file: read into the text table, chosen as a language and as the
// standard file, and decoded whole in every code page a language file can name.
std::string FuzzLanguage(std::string_view bytes);

}  // namespace tarnwell::fuzz
