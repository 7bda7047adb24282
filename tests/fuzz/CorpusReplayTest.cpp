// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <filesystem>

#include "FuzzEntries.h"
#include "TestFiles.h"

namespace tarnwell::testing {
namespace {

// Every kept input of each fuzzer, seeds and past findings alike, still holds.
TEST(FuzzCorpus, EveryKeptInputHolds) {
  using Entry = std::string (*)(std::string_view);
  for (const auto& [name, entry] : {std::pair<const char*, Entry>{"receive", fuzz::FuzzReceive},
                                    {"config", fuzz::FuzzConfig},
                                    {"language", fuzz::FuzzLanguage}}) {
    const auto folder = std::filesystem::path(TARNWELL_CORPUS_DIR) / name;
    EXPECT_FALSE(std::filesystem::is_empty(folder)) << folder;
    for (const auto& file : std::filesystem::directory_iterator(folder))
      EXPECT_EQ(entry(ReadFile(file.path().string())), "") << file.path();
  }
}

}  // namespace
}  // namespace tarnwell::testing
