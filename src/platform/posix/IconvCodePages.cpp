// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/posix/IconvCodePages.h"

#include <iconv.h>

#include <cerrno>

namespace tarnwell {
namespace {

constexpr std::string_view kReplacement = "\xEF\xBF\xBD";

std::string AsciiOnly(std::string_view bytes) {
  std::string out;
  for (const char c : bytes) {
    if (static_cast<unsigned char>(c) < 0x80) {
      out += c;
    } else {
      out += kReplacement;
    }
  }
  return out;
}

}  // namespace

std::string IconvCodePages::ToUtf8(std::string_view bytes, int codePage) const {
  const iconv_t cd = ::iconv_open("UTF-8", ("CP" + std::to_string(codePage)).c_str());
  if (cd == reinterpret_cast<iconv_t>(-1)) return AsciiOnly(bytes);
  std::string out;
  char* in = const_cast<char*>(bytes.data());
  std::size_t inLeft = bytes.size();
  char buffer[512];
  while (inLeft > 0) {
    char* o = buffer;
    std::size_t outLeft = sizeof buffer;
    const std::size_t r = ::iconv(cd, &in, &inLeft, &o, &outLeft);
    out.append(buffer, static_cast<std::size_t>(o - buffer));
    if (r != static_cast<std::size_t>(-1) || errno == E2BIG) continue;
    // A byte without a letter in this code page (or one iconv cannot finish): mark and skip.
    out += kReplacement;
    ++in;
    --inLeft;
    ::iconv(cd, nullptr, nullptr, nullptr, nullptr);
  }
  ::iconv_close(cd);
  return out;
}

const CodePages& SystemCodePages() {
  static const IconvCodePages codePages;
  return codePages;
}

}  // namespace tarnwell
