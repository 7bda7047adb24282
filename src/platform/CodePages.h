// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>
#include <string_view>

namespace tarnwell {

// Turns 8-bit text of a Windows code page (1252 Western, 1254 Turkish, 1251 Cyrillic, 1253 Greek,
// 1256 Arabic) into UTF-8. A byte the code page has no letter for becomes U+FFFD, so a damaged
// file shows a mark where the letter should be and never stops reading. For a code page the
// system does not know, ASCII passes and every other byte becomes U+FFFD.
class CodePages {
 public:
  virtual ~CodePages() = default;
  virtual std::string ToUtf8(std::string_view bytes, int codePage) const = 0;
};

// The conversion of the system the program runs on.
const CodePages& SystemCodePages();

}  // namespace tarnwell
