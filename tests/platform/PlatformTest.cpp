// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>
#include <stdlib.h>
#include <sys/stat.h>

#include <QCoreApplication>
#include <chrono>
#include <filesystem>
#include <thread>

#include "TempDir.h"
#include "TestFiles.h"
#include "TinyTmpfs.h"
#include "platform/DateTime.h"
#include "platform/qt/QtClock.h"
#include "platform/qt/QtFileSystem.h"
#include "platform/qt/QtTimer.h"

namespace tarnwell::testing {
namespace {

TEST(DateTime, TextUsesTheRegionalDateSeparator) {
  EXPECT_EQ(DateTimeText({2024, 1, 5, 7, 8, 9, 450}, Regional{',', '.'}), "05.01.2024 07:08:09");
}

// Local time follows the machine's zone: half hours, the date line, and daylight saving both ways
// (in Central Europe on 31 March 2024 at 01:00 UTC, and back on 27 October at 01:00 UTC).
TEST(QtClock, LocalTimeFollowsTheZoneAndItsDaylightSaving) {
  using namespace std::chrono;
  const Instant spring = sys_days{March / 31 / 2024} + hours(1);
  const Instant autumn = sys_days{October / 27 / 2024} + hours(1);
  const char* europe = "CET-1CEST,M3.5.0,M10.5.0/3";
  const std::tuple<const char*, Instant, DateTime> rows[] = {
      {"ABC-03:30", spring, {2024, 3, 31, 4, 30, 0, 0}},
      {"XYZ+11", spring - milliseconds(1), {2024, 3, 30, 13, 59, 59, 999}},
      {europe, spring - milliseconds(1), {2024, 3, 31, 1, 59, 59, 999}},
      {europe, spring, {2024, 3, 31, 3, 0, 0, 0}},
      {europe, autumn - milliseconds(1), {2024, 10, 27, 2, 59, 59, 999}},
      {europe, autumn, {2024, 10, 27, 2, 0, 0, 0}},
  };
  for (const auto& [zone, at, local] : rows) {
    ::setenv("TZ", zone, 1);
    EXPECT_EQ(QtClock().Local(at), local) << zone << " " << at.time_since_epoch().count();
  }
}

// A running timer takes a new interval at once.
TEST(QtTimer, ARunningTimerTakesANewIntervalAtOnce) {
  int argc = 1;
  char* argv[] = {const_cast<char*>("platform_test"), nullptr};
  QCoreApplication app(argc, argv);
  QtTimer timer;
  int fired = 0;
  timer.SetHandler([&fired] { ++fired; });
  // Kept at the first interval, it would not fire within the half minute waited.
  timer.SetInterval(60000);
  timer.SetInterval(5);
  const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(30);
  while (fired < 3 && std::chrono::steady_clock::now() < end) QCoreApplication::processEvents();
  EXPECT_GE(fired, 3);
}

TEST(QtFileSystem, WholeFilesReplaceWithoutLeftoversAndAppendsSurviveRemoval) {
  TempDir temp;
  const std::string dir = temp.Path(), path = dir + "/config.ini";
  QtFileSystem files(dir);
  const std::string bytes("1'Mode\r\n\xfd\xdd\0end", 14);
  ASSERT_TRUE(files.WriteWhole(path, "old") && files.WriteWhole(path, bytes));
  EXPECT_EQ(files.ReadAll(path), bytes);
  EXPECT_EQ(files.ReadTail(path, 5), bytes.substr(9));
  ASSERT_TRUE(files.CreateFolder(dir + "/Log"));
  EXPECT_FALSE(files.FolderExists(path));
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
    for (int i = 0; i < 5000 && !(done = file->TakeSyncOutcome()); ++i)
      std::this_thread::sleep_for(std::chrono::milliseconds(1));
    return done;
  };
  EXPECT_EQ(outcome(), true);
  std::filesystem::remove(rec);
  EXPECT_EQ(outcome(), false) << "the lines have no file left to reach";
  EXPECT_FALSE(file->Write("2\r\n"));
  ASSERT_TRUE(file->Reopen() && file->Write("2\r\n"));
  EXPECT_EQ(files.ReadAll(rec), "2\r\n");
  EXPECT_FALSE(files.OpenAppend(dir + "/missing/rec.txt"));
  // A file that could not be opened again cannot be synced, at once or in the background.
  std::filesystem::remove_all(dir + "/Log");
  EXPECT_FALSE(file->Reopen());
  EXPECT_FALSE(file->Sync());
  EXPECT_EQ(outcome(), false);
}

// Whoever may write the data folder could plant links where the program writes: the file a link
// leads to is never written, also not on reopening, and a planted pipe does not hold the program.
TEST(QtFileSystem, NeverWritesThroughALinkPlantedInItsPlace) {
  namespace fs = std::filesystem;
  TempDir temp;
  const fs::path dir = temp.Path(), away = dir / "away", log = dir / "Log";
  fs::create_directories(away);
  fs::create_directories(log);
  WriteFile(away / "rec.txt", "kept");
  fs::permissions(away / "rec.txt", fs::perms(04604));
  QtFileSystem files(dir);
  const auto file = files.OpenAppend(log / "rec.txt");
  fs::remove(log / "rec.txt");
  fs::create_symlink(away / "rec.txt", log / "rec.txt");
  EXPECT_FALSE(files.OpenAppend(log / "rec.txt"));
  EXPECT_FALSE(!file || file->Reopen() || file->Write("1\r\n"));
  ASSERT_EQ(::mkfifo((log / "pipe.txt").c_str(), 0600), 0);
  EXPECT_FALSE(files.OpenAppend(log / "pipe.txt"));
  fs::create_symlink(away / "rec.txt", dir / "config.ini");
  EXPECT_TRUE(files.WriteWhole(dir / "config.ini", "new"));
  EXPECT_FALSE(fs::is_symlink(dir / "config.ini"));
  EXPECT_NE(fs::status(dir / "config.ini").permissions(), fs::perms(04604));
  fs::rename(log, dir / "Log.real");
  fs::create_directory_symlink(away, log);
  EXPECT_FALSE(files.OpenAppend(log / "rec.txt") || files.FolderExists(log) ||
               files.CreateFolder(log));
  EXPECT_EQ(ReadFile(away / "rec.txt"), "kept");
  EXPECT_EQ(fs::status(away / "rec.txt").permissions(), fs::perms(04604));
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
