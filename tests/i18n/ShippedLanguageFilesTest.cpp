// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "FakeFileSystem.h"
#include "FakeMessageBox.h"
#include "ShippedTexts.h"

namespace tarnwell::testing {
namespace {

TEST(ShippedLanguageFiles, FormatTheReaderRequires) {
  for (const Shipped& file : kShipped) {
    SCOPED_TRACE(file.name);
    const std::string bytes = ShippedBytes(file.name);
    ASSERT_GE(bytes.size(), 2u);
    ASSERT_EQ(bytes.substr(bytes.size() - 2), "\r\n");
    std::vector<std::string> lines;
    for (std::size_t start = 0, end; start < bytes.size(); start = end + 2) {
      end = bytes.find("\r\n", start);
      lines.push_back(bytes.substr(start, end - start));
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
              "\"" + std::to_string(file.charset) + "\"");
  }
}

TEST(ShippedLanguageFiles, ReadWithoutMessageAndShowTheirLetters) {
  FakeFileSystem files;
  for (const Shipped& file : kShipped) {
    files.files[files.Join(files.folder, file.name)] = ShippedBytes(file.name);
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
    for (int k = 0; k <= LangTable::kLast; ++k) {
      EXPECT_EQ(tables.back().Text(k).find("\xEF\xBF\xBD"), std::string::npos)
          << file.name << " text " << k << " not decoded whole";
    }
  }
  EXPECT_EQ(tables[1].Text(242), "Fare İmleci göster");
  EXPECT_EQ(tables[2].Text(216), "Выход");
  EXPECT_EQ(tables[5].Text(214), "Übernehmen");
  for (int k = 0; k <= LangTable::kLast; ++k) EXPECT_EQ(tables[7].Text(k), tables[0].Text(k)) << k;
}

}  // namespace
}  // namespace tarnwell::testing
