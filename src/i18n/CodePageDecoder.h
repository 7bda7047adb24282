// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>
#include <string_view>

namespace tarnwell {

// Turns 8-bit text of one code page into UTF-8. A byte the code page does not define becomes
// U+FFFD, so a damaged file shows a mark where the letter should be and never stops reading.
class CodePageDecoder {
 public:
  // `codePage` is an iconv name such as "CP1254". When the system knows no such code page,
  // ASCII passes and every other byte becomes U+FFFD.
  explicit CodePageDecoder(const char* codePage);
  ~CodePageDecoder();
  CodePageDecoder(const CodePageDecoder&) = delete;
  CodePageDecoder& operator=(const CodePageDecoder&) = delete;

  std::string Decode(std::string_view bytes);

 private:
  void* cd_;  // iconv_t, kept out of the header
};

}  // namespace tarnwell
