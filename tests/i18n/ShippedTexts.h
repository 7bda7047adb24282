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

// A language file as the build put it beside the program.
inline std::string ShippedBytes(const std::string& name) {
  const char* bin = std::getenv("TARNWELL_BIN");
  return ReadFile(std::string(bin != nullptr ? bin : TARNWELL_PROGRAM_DIR) + "/" + name);
}

inline LangTable ShippedTexts(const std::string& name) {
  LangTable texts;
  EXPECT_GE(ReadLanguageText(ShippedBytes(name), texts), 200) << name;
  return texts;
}

}  // namespace tarnwell::testing
