// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>

#include "i18n/LanguageFile.h"

namespace tarnwell::testing {

// The texts of a language file as the build put it beside the program.
inline LangTable ShippedTexts(const std::string& name) {
  const char* bin = std::getenv("TARNWELL_BIN");
  std::ifstream in(std::string(bin != nullptr ? bin : TARNWELL_PROGRAM_DIR) + "/" + name,
                   std::ios::binary);
  std::ostringstream bytes;
  bytes << in.rdbuf();
  LangTable texts;
  EXPECT_GE(ReadLanguageText(bytes.str(), texts), 200) << name;
  return texts;
}

}  // namespace tarnwell::testing
