// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>
#include <stdlib.h>

#include <chrono>
#include <filesystem>
#include <thread>

#include "TempDir.h"
#include "TinyTmpfs.h"
#include "platform/qt/BackgroundSync.h"
#include "platform/qt/QtFileSystem.h"

namespace tarnwell::testing {
namespace {

namespace fs = std::filesystem;

TEST(QtFileSystem, ProgramFolderIsTheExecutablesOrTarnwellHome) {
  TempDir temp;
  ::unsetenv("TARNWELL_HOME");
  EXPECT_EQ(QtFileSystem().ProgramFolder(), fs::canonical("/proc/self/exe").parent_path().string());
  ::setenv("TARNWELL_HOME", (temp.Path() + "/").c_str(), 1);
  EXPECT_EQ(QtFileSystem().ProgramFolder(), temp.Path());
  ::unsetenv("TARNWELL_HOME");
}

TEST(QtFileSystem, WholeFilesReplaceWithoutLeftoversAndAppendsSurviveRemoval) {
  TempDir temp;
  const std::string dir = temp.Path(), path = dir + "/config.ini";
  QtFileSystem files(dir);
  EXPECT_FALSE(files.ReadAll(path));
  const std::string bytes("1'Mode\r\n\xfd\xdd\0end", 14);
  ASSERT_TRUE(files.WriteWhole(path, "old") && files.WriteWhole(path, bytes));
  EXPECT_EQ(files.ReadAll(path), bytes);
  EXPECT_EQ(files.ReadTail(path, 5), bytes.substr(9));
  EXPECT_EQ(files.ReadTail(path, 99), bytes);
  EXPECT_FALSE(files.ReadTail(path + "x", 2));
  EXPECT_EQ(std::distance(fs::directory_iterator(dir), fs::directory_iterator()), 1);
  // A folder is made once and is no file; a file is no folder.
  EXPECT_EQ((std::vector{files.FolderExists(path), files.CreateFolder(path),
                         files.CreateFolder(dir + "/Log"), files.CreateFolder(dir + "/Log"),
                         files.FolderExists(dir + "/Log"), files.FileExists(dir + "/Log")}),
            (std::vector{false, false, true, true, true, false}));

  const std::string rec = dir + "/Log/rec.txt";
  ASSERT_TRUE(files.WriteWhole(rec, "old\r\n"));
  auto file = files.OpenAppend(rec);
  ASSERT_TRUE(file && file->Write("1\r\n"));
  EXPECT_EQ(files.ReadAll(rec), "old\r\n1\r\n");  // nothing waits in a buffer
  EXPECT_TRUE(file->Sync());
  // A sync in the background tells its outcome once it is done.
  const auto outcome = [&file] {
    file->StartSync();
    std::optional<bool> done;
    for (int i = 0; i < 5000 && !(done = file->TakeSyncOutcome()); ++i) {
      std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    return done;
  };
  EXPECT_EQ(outcome(), true);
  fs::remove(rec);
  EXPECT_EQ(outcome(), false) << "the lines have no file left to reach";
  EXPECT_FALSE(file->Write("2\r\n"));
  ASSERT_TRUE(file->Reopen() && file->Write("2\r\n"));
  EXPECT_EQ(files.ReadAll(rec), "2\r\n");
  EXPECT_FALSE(files.OpenAppend(dir + "/missing/rec.txt"));
  // A file that could not be opened again cannot be synced.
  fs::remove_all(dir + "/Log");
  EXPECT_FALSE(file->Reopen());
  EXPECT_FALSE(file->Sync());
  BackgroundSync noFile;
  noFile.Start(-1);
  EXPECT_EQ(noFile.TakeOutcome(), false);
}

TEST(QtFileSystemDisk, ReadOnlyFolderRefusesEverythingAndKeepsTheOldFile) {
  TinyTmpfs disk;
  if (!disk.Mounted()) GTEST_SKIP() << "mounting a tmpfs is not permitted here";
  QtFileSystem files(disk.Path());
  const std::string path = disk.Path() + "/config.ini";
  ASSERT_TRUE(files.WriteWhole(path, "kept"));
  ASSERT_TRUE(disk.SetReadOnly(true));
  EXPECT_FALSE(files.WriteWhole(path, "new"));
  EXPECT_EQ(files.ReadAll(path), "kept");
  EXPECT_FALSE(files.OpenAppend(disk.Path() + "/rec.txt"));
  EXPECT_FALSE(files.CreateFolder(disk.Path() + "/Log"));
}

}  // namespace
}  // namespace tarnwell::testing
