// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "FakeFileSystem.h"
#include "FakeMessageBox.h"
#include "UsedTexts.h"
#include "i18n/LanguageFile.h"

namespace tarnwell::testing {
namespace {

struct Shipped {
  const char* name;
  int language;  // the Language setting that reads it
  const char* charset;
};

constexpr Shipped kShipped[] = {{"en.lng", 0, "0"},   {"tr.lng", 1, "162"}, {"ru.lng", 2, "204"},
                                {"bg.lng", 3, "204"}, {"fr.lng", 4, "0"},   {"gr.lng", 5, "0"},
                                {"sp.lng", 6, "0"},   {"std.lng", 255, "0"}};

// The files as the build put them beside the program.
std::string ReadShipped(const std::string& name) {
  const char* bin = std::getenv("TARNWELL_BIN");
  const std::string folder = bin != nullptr ? bin : TARNWELL_PROGRAM_DIR;
  std::ifstream in(folder + "/" + name, std::ios::binary);
  std::ostringstream bytes;
  bytes << in.rdbuf();
  return bytes.str();
}

LangTable Read(const std::string& bytes) {
  LangTable texts;
  ReadLanguageText(bytes, texts);
  return texts;
}

std::set<int> Used() {
  std::vector<ControlTextIndex> controls = MainWindowDesign();
  for (const ControlTextIndex& c : SettingsDialogDesign()) controls.push_back(c);
  const std::vector<int> used = UsedTextIndices(controls);
  return {used.begin(), used.end()};
}

TEST(ShippedLanguageFiles, FormatTheReaderRequires) {
  for (const Shipped& file : kShipped) {
    SCOPED_TRACE(file.name);
    const std::string bytes = ReadShipped(file.name);
    ASSERT_FALSE(bytes.empty());
    ASSERT_EQ(bytes.substr(bytes.size() - 2), "\r\n");
    std::vector<std::string> lines;
    for (std::size_t start = 0; start < bytes.size();) {
      const std::size_t end = bytes.find("\r\n", start);
      lines.push_back(bytes.substr(start, end - start));
      start = end + 2;
    }
    EXPECT_GE(lines.size(), 200u);
    EXPECT_LE(lines.size(), 1001u);
    for (std::size_t k = 0; k < lines.size(); ++k) {
      const std::string& line = lines[k];
      EXPECT_EQ(line.find_first_of("\r\n"), std::string::npos) << "line " << k;
      EXPECT_TRUE(line.size() >= 2 && line[0] == '"' && line.find('"', 1) != std::string::npos)
          << "line " << k << ": " << line;
    }
    EXPECT_EQ(lines[1].substr(0, lines[1].find('"', 1) + 1),
              std::string("\"") + file.charset + "\"");
  }
}

TEST(ShippedLanguageFiles, EveryUsedTextIsThereAndNothingElse) {
  const std::set<int> used = Used();
  for (const Shipped& file : kShipped) {
    SCOPED_TRACE(file.name);
    const LangTable texts = Read(ReadShipped(file.name));
    for (int k = 0; k <= LangTable::kLast; ++k) {
      if (k == text::kCharset) continue;
      const std::string& t = texts.Text(k);
      if (used.count(k) > 0) {
        EXPECT_FALSE(t.empty()) << "text " << k;
      } else {
        EXPECT_TRUE(t.empty()) << "text " << k << " is used by nothing: " << t;
      }
      // Decoded whole in the file's own code page.
      EXPECT_EQ(t.find("\xEF\xBF\xBD"), std::string::npos) << "text " << k;
    }
  }
}

TEST(ShippedLanguageFiles, ReadWithoutMessageAndShowTheirLetters) {
  FakeFileSystem files;
  for (const Shipped& file : kShipped) {
    files.files[files.Join(files.folder, file.name)] = ReadShipped(file.name);
  }
  std::vector<LangTable> tables;
  for (const Shipped& file : kShipped) {
    AppConfig config;
    config.Language = file.language;
    FakeMessageBox messages;
    tables.emplace_back();
    EXPECT_TRUE(ReadLanguageFile(config, tables.back(), files, messages, Regional{}));
    EXPECT_TRUE(messages.shown.empty()) << file.name;
    EXPECT_TRUE(config.Language.Equals(Regional{}, file.language));
  }
  // Letters of each code page, decoded.
  EXPECT_EQ(tables[1].Text(242), "Fare İmleci göster");
  EXPECT_EQ(tables[2].Text(216), "Выход");
  EXPECT_EQ(tables[5].Text(214), "Übernehmen");
  const LangTable &en = tables[0], &std = tables[7];
  for (int k = 0; k <= LangTable::kLast; ++k) EXPECT_EQ(std.Text(k), en.Text(k)) << k;
}

}  // namespace
}  // namespace tarnwell::testing
