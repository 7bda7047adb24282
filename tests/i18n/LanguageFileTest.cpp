// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "FakeFileSystem.h"
#include "FakeMessageBox.h"
#include "Golden.h"
#include "i18n/LanguageFile.h"

namespace tarnwell::testing {
namespace {

// `count` lines "<tag> k", with text 1 as given.
std::string File(int count, const std::string& tag, const std::string& text1 = "0") {
  std::string bytes;
  for (int k = 0; k < count; ++k) {
    bytes += "\"" + (k == 1 ? text1 : tag + " " + std::to_string(k)) + "\"\r\n";
  }
  return bytes;
}

struct Reader {
  bool Read(Value language) {
    config.Language = language;
    return ReadLanguageFile(config, texts, files, messages, Regional{});
  }
  std::string Path(const std::string& name) const { return files.Join(files.folder, name); }

  AppConfig config;
  LangTable texts;
  FakeFileSystem files;
  FakeMessageBox messages;
};

TEST(LanguageText, LineRules) {
  LangTable texts;
  const std::string bytes =
      "x123\"\r\n"  // first character not looked at, even when not a quote
      "\"0\"\r\n"
      "\"Start\"  caption of the start button\r\n"
      "\"\"\r\n"
      "\"OK\" \"second\" quote\r\n"
      "\"no closing quote\r\n"    // the rest of the line
      "\r\n"                      // an empty line gives an empty text
      "\"\r\n"                    // so does a lone quote
      "\"lf\"\n\"cr\"\r\"end\"";  // lone LF and CR end lines too; the last needs no end
  EXPECT_EQ(ReadLanguageText(bytes, texts), 11);
  const char* expected[] = {"123", "0", "Start", "",   "OK", "no closing quote",
                            "",    "",  "lf",    "cr", "end"};
  for (int k = 0; k < 11; ++k) EXPECT_EQ(texts.Text(k), expected[k]) << "text " << k;
  EXPECT_EQ(ReadLanguageText("", texts), 0);
  EXPECT_EQ(ReadLanguageText("\"a\"\r\n\r\n", texts), 2);
  // Lines past the table are counted but not stored.
  EXPECT_EQ(ReadLanguageText(File(1005, "t"), texts), 1005);
  EXPECT_EQ(texts.Lang(1000), "t 1000");
  EXPECT_EQ(texts.Lang(1001), std::nullopt);
}

TEST(LanguageText, DecodedFromTheCodePageOfTheFilesOwnText1) {
  LangTable texts;
  // Windows-1254: ı İ ğ Ş ü.
  ReadLanguageText("\"\"\r\n\"162\"\r\n\"\xFD \xDD \xF0 \xDE \xFC\"\r\n", texts);
  EXPECT_EQ(texts.Text(2), "ı İ ğ Ş ü");
  EXPECT_EQ(texts.Text(1), "162");
  // Windows-1251: Выход, ё.
  ReadLanguageText("\"\"\r\n\"204\"\r\n\"\xC2\xFB\xF5\xEE\xE4 \xB8\"\r\n", texts);
  EXPECT_EQ(texts.Text(2), "Выход ё");
  // Windows-1253 and Windows-1256.
  ReadLanguageText("\"\"\r\n\"161\"\r\n\"\xC1\xE8\xDE\xED\xE1\"\r\n", texts);
  EXPECT_EQ(texts.Text(2), "Αθήνα");
  ReadLanguageText("\"\"\r\n\"178\"\r\n\"\xE3\xD1\xCD\xC8\xC7\"\r\n", texts);
  EXPECT_EQ(texts.Text(2), "مرحبا");
  // Western, and a text 1 that is not exactly one of the four numbers.
  for (const char* text1 : {"0", " 204", "204 ", "0204", ""}) {
    ReadLanguageText(std::string("\"\"\r\n\"") + text1 + "\"\r\n\"\xFC\xE9\x80\xDF\"", texts);
    EXPECT_EQ(texts.Text(2), "üé€ß") << "text 1 '" << text1 << "'";
  }
  // A byte the code page has no letter for is marked, and the rest still reads.
  ReadLanguageText("\"\"\r\n\"0\"\r\n\"a\x81z\"\r\n\"next\"", texts);
  EXPECT_EQ(texts.Text(2), "a\xEF\xBF\xBDz");
  EXPECT_EQ(texts.Text(3), "next");
}

// Which file a Language setting reads, what is told when it is missing or short, and where the
// setting ends up: for each case, golden/language_files.txt holds the result, the messages, texts
// 0, 2, 5, 198 and 199 and the setting after.
TEST(LanguageFile, ChosenFileOrStandardFileWithItsMessage) {
  using Files = std::vector<std::pair<std::string, std::string>>;
  std::vector<std::pair<Value, Files>> cases;
  const std::pair<std::string, std::string> standard{"std.lng", File(200, "std")};
  Files own;
  for (const char* name : {"en", "tr", "ru", "bg", "fr", "gr", "sp"}) {
    own.emplace_back(name + std::string(".lng"), File(200, name));
  }
  for (int language = 0; language <= 6; ++language) {
    cases.push_back({language, own});
    cases.push_back({language, {standard}});
  }
  // 7 and 8 name no file, so a file that happens to be there changes nothing.
  cases.push_back({7, {standard, {"7.lng", File(200, "7")}}});
  cases.push_back({8, {standard}});
  // As read from config.ini the setting is a text, kept as it stands.
  cases.push_back({Value::Text("5"), {{"gr.lng", File(200, "Deutsch")}}});
  for (const Value& other : {Value(9), Value(-1), Value::Double(0.5), Value::Text("abc")}) {
    cases.push_back({other, {standard, {"en.lng", File(200, "en")}}});
  }
  // Two hundred lines are enough; fewer, or none, fall back to the standard file.
  cases.push_back({1, {{"tr.lng", File(199, "tr")}, standard}});
  cases.push_back({0, {{"en.lng", ""}, standard}});
  // Without a whole standard file the program ends.
  for (const char* broken : {"none", "", "\"a\"\r\n\"0\"\r\n"}) {
    Files files = {{"tr.lng", File(199, "tr")}};
    if (std::string(broken) != "none") files.emplace_back("std.lng", broken);
    cases.push_back({1, files});
    cases.push_back({9, files});
  }
  std::string dump;
  for (const auto& [language, files] : cases) {
    Reader r;
    dump += "# " + language.ToText(Regional{}) + " with";
    for (const auto& [name, bytes] : files) {
      r.files.files[r.Path(name)] = bytes;
      dump += " " + name + " (" + std::to_string(bytes.size()) + " bytes)";
    }
    const bool ok = r.Read(language);
    dump += ok ? "\nread\n" : "\nfailed\n";
    for (const auto& m : r.messages.shown) dump += "told: " + m.title + " | " + m.text + "\n";
    if (!ok) continue;
    for (int k : {0, 2, 5, 198, 199})
      dump += "text " + std::to_string(k) + ": " + r.texts.Text(k) + "\n";
    dump += "Language " + r.config.Language.ToText(Regional{}) + "\n";
  }
  EXPECT_TRUE(MatchesGolden("i18n/golden/language_files.txt", dump));
}

TEST(LanguageFile, TableIsNotClearedBetweenAttempts) {
  Reader r;
  r.texts.Set(500, "from before");
  std::string shortFile = File(150, "short");
  r.files.files[r.Path("ru.lng")] = shortFile;
  std::string standard = File(200, "std");
  r.files.files[r.Path("std.lng")] = standard + "\"\"\r\n";  // text 200 emptied, not kept
  r.texts.Set(200, "old 200");
  EXPECT_TRUE(r.Read(2));
  EXPECT_EQ(r.texts.Text(149), "std 149");
  EXPECT_EQ(r.texts.Text(200), "");
  EXPECT_EQ(r.texts.Text(500), "from before");
}

}  // namespace
}  // namespace tarnwell::testing
