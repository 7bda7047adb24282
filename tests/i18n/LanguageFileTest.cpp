// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <string>

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
}

TEST(LanguageText, LinesPastTheTableAreCountedButNotStored) {
  LangTable texts;
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

TEST(LanguageFile, EachLanguageReadsItsOwnFileWithoutMessage) {
  const char* names[] = {"en.lng", "tr.lng", "ru.lng", "bg.lng", "fr.lng", "gr.lng", "sp.lng"};
  for (int language = 0; language <= 6; ++language) {
    Reader r;
    for (const char* name : names) r.files.files[r.Path(name)] = File(200, name);
    EXPECT_TRUE(r.Read(language));
    EXPECT_EQ(r.texts.Text(2), std::string(names[language]) + " 2");
    EXPECT_TRUE(r.config.Language.Equals(Regional{}, language));
    EXPECT_TRUE(r.messages.shown.empty());
  }
  // The setting as read from config.ini is a text; it is kept as it stands.
  Reader r;
  r.files.files[r.Path("gr.lng")] = File(200, "Deutsch");
  EXPECT_TRUE(r.Read(Value::Text("5")));
  EXPECT_EQ(r.texts.Text(199), "Deutsch 199");
  EXPECT_EQ(r.config.Language.TextValue(), "5");
}

TEST(LanguageFile, MissingFileFallsBackToStandardWithItsMessage) {
  const char* messages[] = {"Can not find the English Language file, or the file is corrupted!",
                            "Can not find the Turkish Language file, or the file is corrupted!",
                            "Can not find the Russian Language file, or the file is corrupted!",
                            "Can not find the Bulgarian Language file, or the file is corrupted!",
                            "Can not find the French Language file, or the file is corrupted!",
                            "Can not find the German Language file, or the file is corrupted!",
                            "Can not find the Spanish Language file, or the file is corrupted!",
                            "This Language type is reserved!, English type will be used",
                            "This section is reserved!, English type will be used"};
  for (int language = 0; language <= 8; ++language) {
    Reader r;
    r.files.files[r.Path("std.lng")] = File(200, "std");
    // 7 and 8 name no file, so a file that happens to be there changes nothing.
    r.files.files[r.Path("7.lng")] = File(200, "seven");
    EXPECT_TRUE(r.Read(language));
    ASSERT_EQ(r.messages.shown.size(), 1u) << language;
    EXPECT_EQ(r.messages.shown[0].text, messages[language]);
    EXPECT_EQ(r.messages.shown[0].title, "Language File Error");
    EXPECT_EQ(r.texts.Text(5), "std 5");
    EXPECT_EQ(r.config.Language.GetKind(), Value::Kind::kInteger);
    EXPECT_EQ(r.config.Language.ToText(Regional{}), "255");
  }
}

TEST(LanguageFile, OtherSettingsReadStandardFileSilently) {
  for (const Value& language : {Value(9), Value(-1), Value::Double(0.5), Value::Text("abc")}) {
    Reader r;
    r.files.files[r.Path("std.lng")] = File(200, "std");
    r.files.files[r.Path("en.lng")] = File(200, "en");
    EXPECT_TRUE(r.Read(language));
    EXPECT_EQ(r.texts.Text(0), "std 0");
    EXPECT_TRUE(r.messages.shown.empty());
    EXPECT_EQ(r.config.Language.ToText(Regional{}), language.ToText(Regional{}));
  }
}

TEST(LanguageFile, TwoHundredLinesAreEnoughAndFewerFallBack) {
  Reader r;
  r.files.files[r.Path("tr.lng")] = File(199, "tr");
  r.files.files[r.Path("std.lng")] = File(200, "std");
  EXPECT_TRUE(r.Read(1));
  ASSERT_EQ(r.messages.shown.size(), 1u);
  EXPECT_EQ(r.messages.shown[0].text, kShortText);
  EXPECT_EQ(r.messages.shown[0].title, kShortTitle);
  EXPECT_EQ(r.texts.Text(198), "std 198");
  EXPECT_EQ(r.config.Language.ToText(Regional{}), "255");

  // An empty file is a short one.
  Reader empty;
  empty.files.files[empty.Path("en.lng")] = "";
  empty.files.files[empty.Path("std.lng")] = File(200, "std");
  EXPECT_TRUE(empty.Read(0));
  ASSERT_EQ(empty.messages.shown.size(), 1u);
  EXPECT_EQ(empty.messages.shown[0].title, kShortTitle);
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

TEST(LanguageFile, MissingOrShortStandardFileEndsTheProgram) {
  for (const char* standard : {static_cast<const char*>(nullptr), "", "\"a\"\r\n\"0\"\r\n"}) {
    for (const Value& language : {Value(1), Value(9)}) {
      Reader r;
      if (standard != nullptr) r.files.files[r.Path("std.lng")] = standard;
      r.files.files[r.Path("tr.lng")] = File(199, "tr");
      EXPECT_FALSE(r.Read(language));
      ASSERT_FALSE(r.messages.shown.empty());
      EXPECT_EQ(r.messages.shown.back().text, "Can not find Language file or file is corrupted!");
      EXPECT_EQ(r.messages.shown.back().title, "File Error");
      EXPECT_LE(r.messages.shown.size(), 2u);
    }
  }
}

}  // namespace
}  // namespace tarnwell::testing
