// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <set>
#include <sstream>

#include "ChildProcess.h"
#include "ProgramRun.h"
#include "TempDir.h"

namespace tarnwell::testing {
namespace {

namespace fs = std::filesystem;

const char* const kLanguageFiles[] = {"en.lng", "tr.lng", "ru.lng", "bg.lng",
                                      "fr.lng", "gr.lng", "sp.lng", "std.lng"};

std::set<std::string> FilesUnder(const fs::path& root) {
  std::set<std::string> files;
  for (const auto& entry : fs::recursive_directory_iterator(root)) {
    files.insert(fs::relative(entry.path(), root).string());
  }
  return files;
}

TEST(InstallLayout, PrefixBecomesAProgramFolderThatRuns) {
  TempDir temp;
  ASSERT_FALSE(temp.Path().empty());
  const fs::path prefix = temp / "Tarnwell";
  const auto install = ChildProcess::Run(
      {TARNWELL_CMAKE, "--install", TARNWELL_BUILD_DIR, "--prefix", prefix.string()});
  ASSERT_EQ(install.exitCode, 0) << install.output;

  // The menu entry and its icons lie outside the prefix and belong to the package only.
  std::set<std::string> expected{"tarnwell", "tarnwell.png", "tarnwell.svg"};
  for (const char* name : kLanguageFiles) expected.insert(name);
  EXPECT_EQ(FilesUnder(prefix), expected);
  std::istringstream manifest(ReadFile(fs::path(TARNWELL_BUILD_DIR) / "install_manifest.txt"));
  for (std::string line; std::getline(manifest, line);) {
    EXPECT_EQ(line.rfind(prefix.string() + "/", 0), 0u) << "installed outside the prefix: " << line;
  }

  struct stat program {};
  ASSERT_EQ(::stat((prefix / "tarnwell").c_str(), &program), 0);
  EXPECT_EQ(program.st_mode & 0111, 0111u);
  for (const char* name : kLanguageFiles) {
    const std::string installed = ReadFile(prefix / name);
    EXPECT_EQ(installed, ReadFile(fs::path(TARNWELL_SOURCE_DIR) / "data" / name)) << name;
  }

  // Started from there, it finds its language file and writes config.ini beside itself.
  const ProgramRun run = RunProgramBriefly(prefix / "tarnwell", temp / "run");
  EXPECT_TRUE(run.stillRunning) << run.output;
  EXPECT_EQ(run.exitCode, 0) << run.output;
  // A serial-port message may follow, depending on the machine's ports.
  EXPECT_EQ(run.messages.rfind("Tarnwell\tCan not open " + prefix.string() +
                                   "/config.ini file. The configuration file renewed.\n",
                               0),
            0u)
      << run.messages;
  EXPECT_EQ(run.messages.find("File Error"), std::string::npos) << run.messages;
  const std::string config = ReadFile(prefix / "config.ini");
  EXPECT_EQ(config.rfind("0'Advanced mode or Customer. Use 0 as default\r\n", 0), 0u) << config;
}

}  // namespace
}  // namespace tarnwell::testing
