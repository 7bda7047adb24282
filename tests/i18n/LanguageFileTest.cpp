// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include "FakeFileSystem.h"
#include "FakeMessageBox.h"
#include "Golden.h"
#include "TestFiles.h"
#include "i18n/FormTexts.h"
#include "i18n/LanguageFile.h"

namespace tarnwell::testing {
namespace {

using Strings = std::vector<std::string>;

// `count` lines "<tag> k".
std::string File(int count, const std::string& tag) {
  std::string bytes;
  for (int k = 0; k < count; ++k) bytes += "\"" + tag + " " + std::to_string(k) + "\"\r\n";
  return bytes;
}

// The first character of a line is not looked at; the text ends at the next quote or the line's
// end; CR LF, a lone LF or CR end lines, the last needs no end. Lines past the table are counted
// but not stored. Texts are decoded from the code page the file's own text 1 names: 1254, 1251,
// 1253, 1256, and for anything else Western, where a byte without a letter is marked; a file of
// one line names none.
// golden/language_text.txt: the line count, then texts 0-10 and 1000.
TEST(LanguageText, LineRulesAndCodePages) {
  Strings cases = {
      "x123\"\r\n\"0\"\r\n\"Start\"  caption\r\n\"\"\r\n\"OK\" \"second\" quote\r\n"
      "\"no closing quote\r\n\r\n\"\r\n\"lf\"\n\"cr\"\r\"end\"",
      File(1005, "t"), "\"one line\""};
  for (const char* page :
       {"162\"\r\n\"\xFD \xDD \xF0 \xDE \xFC", "204\"\r\n\"\xC2\xFB\xF5\xEE\xE4 \xB8",
        "161\"\r\n\"\xC1\xE8\xDE\xED\xE1", "178\"\r\n\"\xE3\xD1\xCD\xC8\xC7",
        " 204\"\r\n\"\xFC\xE9\x80\xDF a\x81z"})
    cases.push_back("\"\"\r\n\"" + std::string(page) + "\"\r\n\"next\"");
  std::string out;
  for (const std::string& bytes : cases) {
    LangTable texts;
    out += std::to_string(ReadLanguageText(bytes, texts, SystemCodePages()));
    for (int k : {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 1000}) out += " |" + texts.Text(k);
    out += "\n";
  }
  EXPECT_TRUE(MatchesGolden("i18n/golden/language_text.txt", out));
}

// Which file a Language setting reads, and where it ends up (golden/language_files.txt).
TEST(LanguageFile, ChosenFileOrStandardFileWithItsMessage) {
  EXPECT_TRUE(MatchesScript("i18n/golden/language_files.txt", [](const std::string& c) {
    AppConfig config;
    LangTable texts;
    FakeFileSystem disk;
    FakeMessageBox messages;
    const Strings words = Split(c, " ");
    config.Language = Value::Text(words[0]);
    for (std::size_t i = 1; i < words.size(); ++i) {
      const Strings file = Split(words[i] + ":200", ":");  // name, lines
      disk.files["/prog/" + file[0] + ".lng"] = File(std::stoi(file[1]), file[0]);
    }
    const bool ok = ReadLanguageFile(config, texts, disk, messages, Regional{}, SystemCodePages());
    std::string out = ok ? "read" : "failed";
    for (const auto& m : messages.shown) out += "\ntold: " + m.title + " | " + m.text;
    for (int k : {0, 2, 5, 198, 199})
      out += ok ? "\ntext " + std::to_string(k) + ": " + texts.Text(k) : "";
    return out + (ok ? "\nLanguage " + config.Language.ToText(Regional{}) : "");
  }));
}

// A control's text index, moved by an offset, names a text only from the table's first to its
// last, rounded to even; a text that is no number names none.
TEST(TextIndex, NamesATextOnlyInsideTheTable) {
  const std::pair<const char*, int> indices[] = {
      {"0.", 0},   {"2.", -2},    {"1.", -2},   {"0.5", 0}, {"-0.5", 0}, {"1000.", 0},
      {"999.", 1}, {"1000.5", 0}, {"1001.", 0}, {"12.", 3}, {"x", 0}};
  std::string named;
  for (const auto& [index, offset] : indices) {
    const auto text = TextIndexPlus(index, offset);
    named += (text ? std::to_string(*text) : "-") + " ";
  }
  EXPECT_EQ(named, "0 0 - 0 0 1000 1000 1000 - 15 - ");
}

}  // namespace
}  // namespace tarnwell::testing
