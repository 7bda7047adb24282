// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "FakeFileSystem.h"
#include "FakeMessageBox.h"
#include "i18n/LanguageFile.h"

namespace tarnwell::testing {
namespace {

constexpr const char* kShortText =
    "Error opening language support file. Standart language support file will be load. Please "
    "re-install program or control your language file  (*.lng)";
constexpr const char* kShortTitle = "Language File Error [Missing Number of Lines]";

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
// setting ends up.
TEST(LanguageFile, ChosenFileOrStandardFileWithItsMessage) {
  struct Case {
    Value language;
    std::vector<std::pair<std::string, std::string>> files;
    bool ok;
    std::vector<std::string> told;  // title TAB text
    int probe;
    std::string text, after;
  };
  const std::string std200 = File(200, "std"),
                    kShort = kShortTitle + std::string("\t") + kShortText;
  const std::string kFileError = "File Error\tCan not find Language file or file is corrupted!";
  const char* names[] = {"en.lng", "tr.lng", "ru.lng", "bg.lng", "fr.lng", "gr.lng", "sp.lng"};
  const char* missing[] = {"English", "Turkish", "Russian", "Bulgarian",
                           "French",  "German",  "Spanish"};
  std::vector<Case> cases;
  for (int language = 0; language <= 6; ++language) {
    Case own{
        language, {}, true, {}, 2, std::string(names[language]) + " 2", std::to_string(language)};
    for (const char* name : names) own.files.emplace_back(name, File(200, name));
    cases.push_back(own);
    cases.push_back({language,
                     {{"std.lng", std200}},
                     true,
                     {"Language File Error\tCan not find the " + std::string(missing[language]) +
                      " Language file, or the file is corrupted!"},
                     5,
                     "std 5",
                     "255"});
  }
  // 7 and 8 name no file, so a file that happens to be there changes nothing.
  cases.push_back(
      {7,
       {{"std.lng", std200}, {"7.lng", File(200, "7")}},
       true,
       {"Language File Error\tThis Language type is reserved!, English type will be used"},
       5,
       "std 5",
       "255"});
  cases.push_back({8,
                   {{"std.lng", std200}},
                   true,
                   {"Language File Error\tThis section is reserved!, English type will be used"},
                   5,
                   "std 5",
                   "255"});
  // As read from config.ini the setting is a text, kept as it stands.
  cases.push_back(
      {Value::Text("5"), {{"gr.lng", File(200, "Deutsch")}}, true, {}, 199, "Deutsch 199", "5"});
  for (const Value& other : {Value(9), Value(-1), Value::Double(0.5), Value::Text("abc")}) {
    cases.push_back({other,
                     {{"std.lng", std200}, {"en.lng", File(200, "en")}},
                     true,
                     {},
                     0,
                     "std 0",
                     other.ToText(Regional{})});
  }
  // Two hundred lines are enough; fewer, or none, fall back to the standard file.
  cases.push_back({1,
                   {{"tr.lng", File(199, "tr")}, {"std.lng", std200}},
                   true,
                   {kShort},
                   198,
                   "std 198",
                   "255"});
  cases.push_back({0, {{"en.lng", ""}, {"std.lng", std200}}, true, {kShort}, 5, "std 5", "255"});
  // Without a whole standard file the program ends.
  for (const char* standard : {"none", "", "\"a\"\r\n\"0\"\r\n"}) {
    std::vector<std::pair<std::string, std::string>> files = {{"tr.lng", File(199, "tr")}};
    if (std::string(standard) != "none") files.emplace_back("std.lng", standard);
    cases.push_back({1, files, false, {kShort, kFileError}, -1, "", ""});
    cases.push_back({9, files, false, {kFileError}, -1, "", ""});
  }
  for (const Case& c : cases) {
    Reader r;
    for (const auto& [name, bytes] : c.files) r.files.files[r.Path(name)] = bytes;
    const std::string what =
        c.language.ToText(Regional{}) + " with " + (c.files.empty() ? "" : c.files.front().first);
    EXPECT_EQ(r.Read(c.language), c.ok) << what;
    std::vector<std::string> told;
    for (const auto& m : r.messages.shown) told.push_back(m.title + "\t" + m.text);
    EXPECT_EQ(told, c.told) << what;
    if (!c.ok) continue;
    EXPECT_EQ(r.texts.Text(c.probe), c.text) << what;
    EXPECT_EQ(r.config.Language.ToText(Regional{}), c.after) << what;
  }
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
