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

TEST(DateTime, WholeSecondsCountCalendarDaysAndIgnoreMilliseconds) {
  const std::pair<DateTime, std::int64_t> rows[] = {
      {{1970, 1, 1, 0, 0, 0, 999}, 0},
      {{1969, 12, 31, 23, 59, 59, 0}, -1},
      {{2000, 3, 1, 0, 0, 0, 0}, 951868800},  // after a leap day of a year divisible by 400
      {{2024, 2, 29, 0, 0, 0, 0}, 1709164800},
  };
  for (const auto& [t, seconds] : rows) EXPECT_EQ(WholeSeconds(t), seconds) << t.year;
  EXPECT_EQ(MsBefore({2025, 1, 1, 0, 0, 0, 3}, 5), (DateTime{2024, 12, 31, 23, 59, 59, 998}));
}

TEST(DateTime, TextUsesTheRegionalDateSeparatorAndReadsBack) {
  const DateTime t{2024, 1, 5, 7, 8, 9, 450};
  EXPECT_EQ(DateTimeText(t, Regional{',', '.'}), "05.01.2024 07:08:09");
  for (char sep : {'/', '.', '-'}) {
    EXPECT_EQ(ParseDateTimeText(DateTimeText(t, Regional{'.', sep})),
              (DateTime{2024, 1, 5, 7, 8, 9, 0}))
        << sep;
  }
  EXPECT_TRUE(ParseDateTimeText("01/01/2024 00:00:00") && ParseDateTimeText("31/12/2024 23:59:60"));
  for (const char* bad :
       {"0", "", "00/01/2024 07:08:09", "05/00/2024 07:08:09", "05/01.2024 07:08:09",
        "05/13/2024 07:08:09", "32/01/2024 07:08:09", "05/01/2024 24:00:00", "05/01/2024 07:60:00",
        "05/01/2024 07:08:61", "05/01/2024 07:08:09x", "05/01/2024", "-5/01/2024 07:08:09"}) {
    EXPECT_FALSE(ParseDateTimeText(bad)) << '"' << bad << '"';
  }
}

// Local time follows the machine's zone, half hours and the date line included.
TEST(QtClock, LocalTimeIsTheZonesOffsetFromUtc) {
  for (const auto& [zone, offset] : {std::pair{"ABC-03:30", 3 * 3600 + 1800},
                                     std::pair{"XYZ+11", -11 * 3600}, std::pair{"UTC0", 0}}) {
    ::setenv("TZ", zone, 1);
    const QtClock clock;
    const double apart =
        static_cast<double>(WholeSeconds(clock.LocalNow()) - WholeSeconds(clock.UtcNow()));
    EXPECT_NEAR(apart, offset, 1.5) << zone;
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
  timer.SetInterval(1000);
  timer.SetInterval(5);
  const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(900);
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
