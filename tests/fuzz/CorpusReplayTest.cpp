// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <filesystem>

#include "FuzzEntries.h"
#include "TestFiles.h"
#include "Utf8.h"

namespace tarnwell::testing {
namespace {

// Every kept input of each fuzzer, seeds and past findings alike, still holds.
TEST(FuzzCorpus, EveryKeptInputHolds) {
  const std::pair<const char*, std::string (*)(std::string_view)> fuzzers[] = {
      {"receive", fuzz::FuzzReceive},
      {"config", fuzz::FuzzConfig},
      {"language", fuzz::FuzzLanguage}};
  for (const auto& [name, entry] : fuzzers) {
    int replayed = 0;
    for (const auto& file :
         std::filesystem::directory_iterator(std::filesystem::path(TARNWELL_CORPUS_DIR) / name)) {
      if (!file.is_regular_file()) continue;
      EXPECT_EQ(entry(ReadFile(file.path())), "") << file.path();
      ++replayed;
    }
    EXPECT_GT(replayed, 0) << "no corpus for " << name;
  }
}

// The language fuzzer's verdict rests on this check: a lenient one would hide broken text.
TEST(Utf8Check, TakesWellFormedTextAndRefusesWhatDecodersMustNeverEmit) {
  for (std::string_view good : {"", "a\xC2\x80z", "\xE2\x82\xAC", "\xF4\x8F\xBF\xBF"}) {
    EXPECT_TRUE(fuzz::IsUtf8(good)) << good;
  }
  // Cut short, overlong, a surrogate, above U+10FFFF, a lead byte that never occurs.
  for (std::string_view bad : {"\x80", "\xE2\x82", "\xC0\xAF", "\xF0\x80\x80\xAF", "\xED\xA0\x80",
                               "\xF4\x90\x80\x80", "\xFF"}) {
    EXPECT_FALSE(fuzz::IsUtf8(bad)) << ::testing::PrintToString(std::string(bad));
  }
}

}  // namespace
}  // namespace tarnwell::testing
