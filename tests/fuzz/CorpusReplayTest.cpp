// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <vector>

#include "FuzzEntries.h"
#include "TestFiles.h"

namespace tarnwell::testing {
namespace {

namespace fs = std::filesystem;

// Every file of one fuzzer's corpus, seeds and past findings alike, in name order.
std::vector<fs::path> Corpus(const char* name) {
  std::vector<fs::path> files;
  for (const auto& entry : fs::directory_iterator(fs::path(TARNWELL_CORPUS_DIR) / name)) {
    if (entry.is_regular_file()) files.push_back(entry.path());
  }
  std::sort(files.begin(), files.end());
  return files;
}

void Replay(const char* name, std::string (*entry)(std::string_view)) {
  const auto files = Corpus(name);
  ASSERT_FALSE(files.empty()) << "no corpus for " << name;
  for (const auto& file : files) {
    EXPECT_EQ(entry(ReadFile(file)), "") << file;
  }
}

TEST(FuzzCorpus, ReceivePathHoldsForEveryKeptInput) { Replay("receive", fuzz::FuzzReceive); }

TEST(FuzzCorpus, ConfigFileRoundTripsForEveryKeptInput) { Replay("config", fuzz::FuzzConfig); }

TEST(FuzzCorpus, LanguageFileHoldsForEveryKeptInput) { Replay("language", fuzz::FuzzLanguage); }

}  // namespace
}  // namespace tarnwell::testing
