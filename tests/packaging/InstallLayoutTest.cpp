// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>
#include <sys/stat.h>

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
  ASSERT_FALSE(temp.Path().empty());
  const fs::path prefix = temp / "Tarnwell";
  const auto install = ChildProcess::Run(
      {TARNWELL_CMAKE, "--install", TARNWELL_BUILD_DIR, "--prefix", prefix.string()});
  ASSERT_EQ(install.exitCode, 0) << install.output;

  // The menu entry and its icons lie outside the prefix and belong to the package only.
  std::set<std::string> expected{"tarnwell", "tarnwell.png", "tarnwell.svg"}, found;
  for (const char* name :
       {"en.lng", "tr.lng", "ru.lng", "bg.lng", "fr.lng", "gr.lng", "sp.lng", "std.lng"}) {
    expected.insert(name);
    EXPECT_EQ(ReadFile(prefix / name), ReadFile(fs::path(TARNWELL_SOURCE_DIR) / "data" / name))
        << name;
  }
  for (const auto& entry : fs::recursive_directory_iterator(prefix)) {
    found.insert(fs::relative(entry.path(), prefix).string());
  }
  EXPECT_EQ(found, expected);
  std::istringstream manifest(ReadFile(fs::path(TARNWELL_BUILD_DIR) / "install_manifest.txt"));
  for (std::string line; std::getline(manifest, line);) {
    EXPECT_EQ(line.rfind(prefix.string() + "/", 0), 0u) << "installed outside the prefix: " << line;
  }

  struct stat program {};
  ASSERT_EQ(::stat((prefix / "tarnwell").c_str(), &program), 0);
  EXPECT_EQ(program.st_mode & 0111, 0111u);
}

}  // namespace
}  // namespace tarnwell::testing
