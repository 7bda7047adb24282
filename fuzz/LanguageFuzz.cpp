// SPDX-License-Identifier: GPL-3.0-or-later
#include <array>

#include "FakeFileSystem.h"
#include "FakeMessageBox.h"
#include "FuzzEntries.h"
#include "Utf8.h"
#include "i18n/LangCharset.h"
#include "i18n/LanguageFile.h"

namespace tarnwell::fuzz {
namespace {

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
    if (!IsUtf8(SystemCodePages().ToUtf8(bytes, CodePageOfCharset(charset)))) {
      return "decoding for set " + std::to_string(charset);
    }
  }
  // No system has this code page.
  if (!IsUtf8(SystemCodePages().ToUtf8(bytes, 99999))) return "decoding without a code page";
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
  const bool ok = ReadLanguageFile(config, texts, fs, messages, Regional{}, SystemCodePages());
  if (ok != usable) return "file accepted or refused against its length";
  // A short chosen file is told once; then the standard file is told once more when short.
  if (messages.shown.size() != (usable ? 0u : 2u)) return "messages for the file";
  if (!usable && !config.Language.Equals(Regional{}, 255)) return "fallback language";
  return CheckTable(texts);
}

}  // namespace

std::string FuzzLanguage(std::string_view bytes) {
  LangTable texts;
  const int lines = ReadLanguageText(bytes, texts, SystemCodePages());
  if (lines != LineCount(bytes)) return "line count";
  if (std::string broken = CheckTable(texts); !broken.empty()) return broken;
  if (std::string broken = CheckDecoders(bytes); !broken.empty()) return broken;
  return CheckFileChoice(bytes, lines);
}

}  // namespace tarnwell::fuzz
