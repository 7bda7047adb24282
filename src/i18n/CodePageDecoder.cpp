// SPDX-License-Identifier: GPL-3.0-or-later
#include "i18n/CodePageDecoder.h"

#include <iconv.h>

#include <cerrno>

namespace tarnwell {
namespace {

constexpr std::string_view kReplacement = "\xEF\xBF\xBD";

iconv_t Handle(void* cd) { return static_cast<iconv_t>(cd); }
bool Valid(void* cd) { return Handle(cd) != reinterpret_cast<iconv_t>(-1); }

}  // namespace

CodePageDecoder::CodePageDecoder(const char* codePage)
    : cd_(static_cast<void*>(iconv_open("UTF-8", codePage))) {}

CodePageDecoder::~CodePageDecoder() {
  if (Valid(cd_)) iconv_close(Handle(cd_));
}

std::string CodePageDecoder::Decode(std::string_view bytes) {
  std::string out;
  if (!Valid(cd_)) {
    for (const char c : bytes) {
      if (static_cast<unsigned char>(c) < 0x80) {
        out += c;
      } else {
        out += kReplacement;
      }
    }
    return out;
  }
  iconv(Handle(cd_), nullptr, nullptr, nullptr, nullptr);
  char* in = const_cast<char*>(bytes.data());
  std::size_t inLeft = bytes.size();
  char buffer[512];
  while (inLeft > 0) {
    char* o = buffer;
    std::size_t outLeft = sizeof buffer;
    const std::size_t r = iconv(Handle(cd_), &in, &inLeft, &o, &outLeft);
    out.append(buffer, static_cast<std::size_t>(o - buffer));
    if (r != static_cast<std::size_t>(-1) || errno == E2BIG) continue;
    // A byte without a letter in this code page (or one iconv cannot finish): mark and skip.
    out += kReplacement;
    ++in;
    --inLeft;
    iconv(Handle(cd_), nullptr, nullptr, nullptr, nullptr);
  }
  return out;
}

}  // namespace tarnwell
