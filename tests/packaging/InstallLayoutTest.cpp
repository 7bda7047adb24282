// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <filesystem>
#include <set>
#include <sstream>

#include "ChildProcess.h"
#include "TempDir.h"
#include "TestFiles.h"

namespace tarnwell::testing {
namespace {

namespace fs = std::filesystem;

TEST(InstallLayout, PrefixBecomesTheProgramFolder) {
  TempDir temp;
  const fs::path prefix = temp / "Tarnwell";
  const auto install = ChildProcess::Run(
      {TARNWELL_CMAKE, "--install", TARNWELL_BUILD_DIR, "--prefix", prefix.string()});
  ASSERT_EQ(install.exitCode, 0) << install.output;

  // The menu entry, its icons and the mark of a packaged program belong to the package only: a
  // prefix keeps its data beside the program.
  std::set<std::string> found;
  for (const auto& entry : fs::recursive_directory_iterator(prefix)) {
    const std::string name = fs::relative(entry.path(), prefix);
    found.insert(name);
    if (name.ends_with(".lng")) {
      EXPECT_EQ(ReadFile(entry.path()), ReadFile(TARNWELL_SOURCE_DIR "/data/" + name)) << name;
    }
  }
  EXPECT_EQ(found, (std::set<std::string>{"bg.lng", "en.lng", "fr.lng", "gr.lng", "ru.lng",
                                          "sp.lng", "std.lng", "tarnwell", "tarnwell.png",
                                          "tarnwell.svg", "tr.lng"}));
  std::istringstream manifest(ReadFile(fs::path(TARNWELL_BUILD_DIR) / "install_manifest.txt"));
  for (std::string line; std::getline(manifest, line);) {
    EXPECT_EQ(line.rfind(prefix.string() + "/", 0), 0u) << "installed outside the prefix: " << line;
  }
  EXPECT_EQ(fs::status(prefix / "tarnwell").permissions() & fs::perms::all, fs::perms(0755));
}

}  // namespace
}  // namespace tarnwell::testing
