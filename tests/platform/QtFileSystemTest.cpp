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

namespace tarnwell {
namespace {

using testing::TinyTmpfs;
namespace fs = std::filesystem;

class QtFileSystemTest : public ::testing::Test {
 protected:
  testing::TempDir temp_;
  const std::string dir_ = temp_.Path();
};

TEST_F(QtFileSystemTest, ProgramFolderIsTheExecutablesOrTarnwellHome) {
  ::unsetenv("TARNWELL_HOME");
  EXPECT_EQ(QtFileSystem().ProgramFolder(), fs::canonical("/proc/self/exe").parent_path().string());
  ::setenv("TARNWELL_HOME", (dir_ + "/").c_str(), 1);
  EXPECT_EQ(QtFileSystem().ProgramFolder(), dir_);
  ::unsetenv("TARNWELL_HOME");
}

TEST_F(QtFileSystemTest, WholeFilesRoundTripAndReplaceWithoutLeftovers) {
  QtFileSystem files(dir_);
  const std::string path = files.Join(dir_, "config.ini");
  EXPECT_FALSE(files.ReadAll(path));
  const std::string bytes("1'Mode\r\n\xfd\xdd\0end", 14);
  ASSERT_TRUE(files.WriteWhole(path, bytes));
  ASSERT_TRUE(files.WriteWhole(path, bytes + "more"));
  EXPECT_EQ(files.ReadAll(path), bytes + "more");
  EXPECT_EQ(files.ReadTail(path, 5), "dmore");
  EXPECT_EQ(files.ReadTail(path, 99), bytes + "more");
  EXPECT_FALSE(files.ReadTail(path + "x", 2));
  EXPECT_EQ(std::distance(fs::directory_iterator(dir_), fs::directory_iterator()), 1);

  EXPECT_TRUE(files.FileExists(path));
  EXPECT_FALSE(files.FolderExists(path));
  EXPECT_FALSE(files.CreateFolder(path));
  EXPECT_TRUE(files.CreateFolder(dir_ + "/Log"));
  EXPECT_TRUE(files.CreateFolder(dir_ + "/Log"));
  EXPECT_TRUE(files.FolderExists(dir_ + "/Log"));
  EXPECT_FALSE(files.FileExists(dir_ + "/Log"));
}

TEST_F(QtFileSystemTest, AppendReachesTheFileAtOnceAndSurvivesRemoval) {
  QtFileSystem files(dir_);
  const std::string path = dir_ + "/rec.txt";
  ASSERT_TRUE(files.WriteWhole(path, "old\r\n"));
  auto file = files.OpenAppend(path);
  ASSERT_TRUE(file);
  ASSERT_TRUE(file->Write("1\r\n"));
  EXPECT_EQ(files.ReadAll(path), "old\r\n1\r\n");  // nothing waits in a buffer
  EXPECT_TRUE(file->Sync());

  // A sync in the background tells its outcome once it is done.
  const auto outcome = [&file] {
    std::optional<bool> done;
    for (int i = 0; i < 5000 && !done; ++i) {
      done = file->TakeSyncOutcome();
      if (!done) std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    return done;
  };
  file->StartSync();
  EXPECT_EQ(outcome(), true);

  fs::remove(path);
  file->StartSync();
  EXPECT_EQ(outcome(), false) << "the lines have no file left to reach";
  EXPECT_FALSE(file->Write("2\r\n"));
  ASSERT_TRUE(file->Reopen());
  ASSERT_TRUE(file->Write("2\r\n"));
  EXPECT_EQ(files.ReadAll(path), "2\r\n");
  EXPECT_FALSE(files.OpenAppend(dir_ + "/missing/rec.txt"));

  // A file that could not be opened again cannot be synced.
  fs::create_directory(dir_ + "/gone");
  auto lost = files.OpenAppend(dir_ + "/gone/rec.txt");
  ASSERT_TRUE(lost);
  fs::remove_all(dir_ + "/gone");
  EXPECT_FALSE(lost->Reopen());
  EXPECT_FALSE(lost->Sync());
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
  EXPECT_TRUE(files.FolderExists(disk.Path()));
}

}  // namespace
}  // namespace tarnwell
