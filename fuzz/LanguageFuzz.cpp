// SPDX-License-Identifier: GPL-3.0-or-later
#include <array>

#include "FakeFileSystem.h"
#include "FakeMessageBox.h"
#include "FuzzEntries.h"
#include "i18n/CodePageDecoder.h"
#include "i18n/LangCharset.h"
#include "i18n/LanguageFile.h"

namespace tarnwell::fuzz {
namespace {

// True when `s` is well-formed UTF-8: no stray continuation bytes, no overlong forms, no
// surrogates, nothing above U+10FFFF.
bool IsUtf8(std::string_view s) {
  std::size_t i = 0;
  while (i < s.size()) {
    const auto b = static_cast<unsigned char>(s[i]);
    std::size_t extra = 0;
    char32_t cp = 0;
    if (b < 0x80) {
      ++i;
      continue;
    } else if (b >= 0xC2 && b <= 0xDF) {
      extra = 1;
      cp = b & 0x1F;
    } else if (b >= 0xE0 && b <= 0xEF) {
      extra = 2;
      cp = b & 0x0F;
    } else if (b >= 0xF0 && b <= 0xF4) {
      extra = 3;
      cp = b & 0x07;
    } else {
      return false;
    }
    if (i + extra >= s.size()) return false;
    for (std::size_t k = 1; k <= extra; ++k) {
      const auto c = static_cast<unsigned char>(s[i + k]);
      if ((c & 0xC0) != 0x80) return false;
      cp = (cp << 6) | (c & 0x3F);
    }
    if ((extra == 2 && cp < 0x800) || (extra == 3 && cp < 0x10000)) return false;
    if ((cp >= 0xD800 && cp <= 0xDFFF) || cp > 0x10FFFF) return false;
    i += extra + 1;
  }
  return true;
}

// Lines as the reader counts them: ended by CR LF, LF or CR, the last one also by the end.
int LineCount(std::string_view bytes) {
  int count = 0;
  for (std::size_t i = 0; i < bytes.size(); ++i) {
    if (bytes[i] == '\n' || bytes[i] == '\r') {
      ++count;
      if (bytes[i] == '\r' && i + 1 < bytes.size() && bytes[i + 1] == '\n') ++i;
    } else if (i + 1 == bytes.size()) {
      ++count;
    }
  }
  return count;
}

std::string CheckTable(const LangTable& texts) {
  for (int k = LangTable::kFirst; k <= LangTable::kLast; ++k) {
    const std::string& t = texts.Text(k);
    if (!IsUtf8(t)) return "text " + std::to_string(k) + " is not UTF-8";
    if (t.find_first_of("\r\n\"") != std::string::npos) {
      return "text " + std::to_string(k) + " holds a line end or a quote";
    }
  }
  return {};
}

std::string CheckDecoders(std::string_view bytes) {
  for (const int charset : {0, 161, 162, 178, 204}) {
    CodePageDecoder decoder(CodePageOfCharset(charset));
    if (!IsUtf8(decoder.Decode(bytes))) return "decoding for set " + std::to_string(charset);
  }
  CodePageDecoder unknown("NO-SUCH-CODE-PAGE");
  if (!IsUtf8(unknown.Decode(bytes))) return "decoding without a code page";
  return {};
}

std::string CheckFileChoice(std::string_view bytes, int lines) {
  const bool usable = lines >= 200;
  testing::FakeFileSystem fs;
  fs.files["/prog/tr.lng"] = std::string(bytes);
  fs.files["/prog/std.lng"] = std::string(bytes);
  AppConfig config;
  config.Language = Value::Text("1");
  LangTable texts;
  testing::FakeMessageBox messages;
  const bool ok = ReadLanguageFile(config, texts, fs, messages, Regional{});
  if (ok != usable) return "file accepted or refused against its length";
  // A short chosen file is told once; then the standard file is told once more when short.
  if (messages.shown.size() != (usable ? 0u : 2u)) return "messages for the file";
  if (!usable && !config.Language.Equals(Regional{}, 255)) return "fallback language";
  return CheckTable(texts);
}

}  // namespace

std::string FuzzLanguage(std::string_view bytes) {
  LangTable texts;
  const int lines = ReadLanguageText(bytes, texts);
  if (lines != LineCount(bytes)) return "line count";
  if (std::string broken = CheckTable(texts); !broken.empty()) return broken;
  if (std::string broken = CheckDecoders(bytes); !broken.empty()) return broken;
  return CheckFileChoice(bytes, lines);
}

}  // namespace tarnwell::fuzz
