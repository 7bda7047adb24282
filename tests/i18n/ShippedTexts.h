// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "TestFiles.h"
#include "i18n/LanguageFile.h"

namespace tarnwell::testing {

struct Shipped {
  const char* name;
  int language;  // the Language setting that reads it
  int charset;
};
inline constexpr Shipped kShipped[] = {{"en.lng", 0, 0},   {"tr.lng", 1, 162}, {"ru.lng", 2, 204},
                                       {"bg.lng", 3, 204}, {"fr.lng", 4, 0},   {"gr.lng", 5, 0},
                                       {"sp.lng", 6, 0},   {"std.lng", 255, 0}};

// A language file as the build put it beside the program, read as the program reads it. Every
// line must be a quoted text (a comment may follow) ended by CR LF: the reader skips the first
// character, and a text without its closing quote would take in the comment.
inline LangTable ShippedTexts(const std::string& name) {
  const char* bin = std::getenv("TARNWELL_BIN");
  const std::string bytes =
      ReadFile(std::string(bin != nullptr ? bin : TARNWELL_PROGRAM_DIR) + "/" + name);
  EXPECT_TRUE(CrLfLinesOnly(bytes)) << name;
  const auto lines = Split(bytes, "\r\n");
  EXPECT_TRUE(lines.size() >= 200 && lines.size() <= 1001) << name << ": " << lines.size();
  for (std::size_t k = 0; k < lines.size(); ++k) {
    EXPECT_TRUE(lines[k].size() >= 2 && lines[k][0] == '"' &&
                lines[k].find('"', 1) != std::string::npos)
        << name << " line " << k << ": " << lines[k];
  }
  LangTable texts;
  ReadLanguageText(bytes, texts);
  return texts;
}

}  // namespace tarnwell::testing
