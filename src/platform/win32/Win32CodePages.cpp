// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/win32/Win32CodePages.h"

#include <windows.h>

#include <array>
#include <map>
#include <mutex>

namespace tarnwell {
namespace {

constexpr char32_t kReplacement = 0xFFFD;

void AppendUtf8(std::string& out, char32_t c) {
  if (c < 0x80) {
    out += static_cast<char>(c);
  } else if (c < 0x800) {
    out += static_cast<char>(0xC0 | (c >> 6));
    out += static_cast<char>(0x80 | (c & 0x3F));
  } else {
    out += static_cast<char>(0xE0 | (c >> 12));
    out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (c & 0x3F));
  }
}

// The letter of every byte. The system's tables carry the few bytes a code page leaves
// undefined as C1 control characters; they have no letter, as in the other systems' tables.
std::array<char32_t, 256> LettersOf(int codePage) {
  std::array<char32_t, 256> letters{};
  for (int b = 0; b < 256; ++b) {
    const char byte = static_cast<char>(b);
    wchar_t wide = 0;
    const int n = ::MultiByteToWideChar(static_cast<UINT>(codePage), MB_ERR_INVALID_CHARS, &byte, 1,
                                        &wide, 1);
    const bool letter = n == 1 && (b < 0x80 || wide < 0x80 || wide > 0x9F);
    letters[static_cast<std::size_t>(b)] = letter ? wide : (b < 0x80 ? b : kReplacement);
  }
  return letters;
}

}  // namespace

std::string Win32CodePages::ToUtf8(std::string_view bytes, int codePage) const {
  // A language file asks for its code page once a line: the table is made once per code page.
  const std::array<char32_t, 256>& letters = [codePage]() -> const std::array<char32_t, 256>& {
    static std::mutex guard;
    static std::map<int, std::array<char32_t, 256>> tables;
    const std::lock_guard lock(guard);
    auto found = tables.find(codePage);
    if (found == tables.end()) found = tables.emplace(codePage, LettersOf(codePage)).first;
    return found->second;
  }();
  std::string out;
  out.reserve(bytes.size());
  for (const char c : bytes) AppendUtf8(out, letters[static_cast<unsigned char>(c)]);
  return out;
}

const CodePages& SystemCodePages() {
  static const Win32CodePages codePages;
  return codePages;
}

}  // namespace tarnwell
