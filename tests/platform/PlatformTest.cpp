// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>
#include <stdlib.h>
#include <sys/stat.h>

#include <QCoreApplication>
#include <chrono>
#include <filesystem>
#include <optional>
#include <set>

#include "TempDir.h"
#include "TestFiles.h"
#include "TinyTmpfs.h"
#include "platform/DateTime.h"
#include "platform/qt/FolderLock.h"
#include "platform/qt/QtClock.h"
#include "platform/qt/QtFileSystem.h"
#include "platform/qt/QtTimer.h"

namespace tarnwell::testing {
namespace {

namespace fs = std::filesystem;

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

// The outcome of a sync started in the background, once it is told.
std::optional<bool> BackgroundSyncOf(AppendFile& file) {
  file.StartSync();
  std::optional<bool> done;
  WaitUntil([&] { return (done = file.TakeSyncOutcome()).has_value(); }, 30);
  return done;
}

TEST(QtFileSystem, WholeFilesReplaceWithoutLeftoversAndAppendsSurviveRemoval) {
  TempDir temp;
  const std::string dir = temp.Path(), path = dir + "/config.ini", rec = dir + "/rec.txt";
  QtFileSystem files(dir + "//");
  const std::string bytes("1'Mode\r\n\xfd\xdd\0end", 14);
  ASSERT_TRUE(files.WriteWhole(path, "old") && files.WriteWhole(path, bytes));
  EXPECT_EQ(files.ReadAll(path), bytes);
  EXPECT_EQ(files.ReadTail(path, 5), bytes.substr(9));
  EXPECT_EQ(files.DataFolder() + files.Separator(), dir + "/");
  ASSERT_TRUE(files.WriteWhole(rec, "old\r\n"));
  auto file = files.OpenAppend(rec);
  ASSERT_TRUE(file && file->Write("1\r\n"));
  EXPECT_EQ(files.ReadAll(rec), "old\r\n1\r\n");  // nothing waits in a buffer
  fs::remove(rec);
  // The lines have no file left to reach, until it is opened again.
  EXPECT_EQ(std::tuple(file->Sync(), BackgroundSyncOf(*file), file->Write("2\r\n")),
            std::tuple(false, false, false));
  ASSERT_TRUE(file->Reopen() && file->Write("2\r\n"));
  EXPECT_EQ(files.ReadAll(rec), "2\r\n");
  fs::remove(rec);
  fs::create_directory(rec);
  EXPECT_EQ(std::tuple(file->Reopen(), file->Sync(), BackgroundSyncOf(*file)),
            std::tuple(false, false, false));
}

// Everything in `dir`, sorted: "name@" for a link, "name mode=text" for a small plain file.
std::string Listing(const std::string& dir) {
  std::set<std::string> entries;
  for (const auto& e : fs::recursive_directory_iterator(dir)) {
    char mode[8];
    std::snprintf(mode, sizeof mode, " %o=",
                  static_cast<unsigned>(e.symlink_status().permissions() & fs::perms::mask));
    const bool plain = e.symlink_status().type() == fs::file_type::regular;
    entries.insert(e.path().lexically_relative(dir).string() + (e.is_symlink() ? "@" : "") +
                   (plain && e.file_size() < 64 ? mode + ReadFile(e.path()) : ""));
  }
  std::string text;
  for (const std::string& entry : entries) text += " " + entry;
  return text;
}

// What the adapter does in a data folder: config.ini written whole and read back, the record
// folder looked for and made, a record line written, synced at once and in the background, and
// read back, two locks taken; then what is in the folder.
std::string Outcome(const std::string& dir) {
  QtFileSystem files(dir);
  const std::string ini = dir + "/config.ini", log = dir + "/Log", rec = log + "/rec.txt";
  const auto n = [](bool b) { return std::string(b ? "1" : "0"); };
  std::string out = "ini " + n(files.WriteWhole(ini, "new"));
  out += " " + files.ReadAll(ini).value_or("-") + " | Log " + n(files.FolderExists(log));
  out += n(files.CreateFolder(log)) + " | rec ";
  if (auto file = files.OpenAppend(rec)) {
    out += n(file->Write("1"));
    out += n(file->Sync());
    out += n(BackgroundSyncOf(*file).value_or(false));
  }
  out += " " + files.ReadAll(rec).value_or("-");
  const FolderLock first(dir), second(dir);
  return out + " | lock " + n(first.Held()) + n(second.Held()) + " |" + Listing(dir);
}

// Real folders, and a real tmpfs for a full disk and a read-only one. Each row makes, in order:
// "name/" a folder, "name=text" a file, "name>target" a link to the folder away/ or its file
// away/kept outside, "name|" a pipe; "full" and "read-only" the disk. Whoever may write the data
// folder could plant links where the program writes: what a link leads to is never written, and
// a planted pipe does not hold the program.
TEST(QtFileSystem, EachKindOfFolderGivesItsWholeOutcome) {
  ::umask(022);
  const std::pair<std::vector<std::string>, std::string> rows[] = {
      {{},
       "ini 1 new | Log 01 | rec 111 1 | lock 10 | .lock 640= Log Log/rec.txt 644=1 config.ini "
       "644=new"},
      {{"Log=file"},
       "ini 1 new | Log 00 | rec  - | lock 10 | .lock 640= Log 644=file config.ini 644=new"},
      {{"config.ini/", "Log/rec.txt/"},
       "ini 0 - | Log 11 | rec  - | lock 10 | .lock 640= Log Log/rec.txt config.ini"},
      {{"config.ini>away/kept", "Log>away"},
       "ini 1 new | Log 00 | rec  - | lock 10 | .lock 640= Log@ config.ini 644=new"},
      {{"Log/", "Log/rec.txt>away/kept", ".lock>away/kept"},
       "ini 1 new | Log 11 | rec  old | lock 11 | .lock@ Log Log/rec.txt@ config.ini 644=new"},
      {{"Log/", "Log/rec.txt|", ".lock|"},
       "ini 1 new | Log 11 | rec  - | lock 11 | .lock Log Log/rec.txt config.ini 644=new"},
      {{"config.ini=old", "full"},
       "ini 0 old | Log 01 | rec 011  | lock 10 | .lock 640= Log Log/rec.txt 644= config.ini "
       "644=old filler"},
      {{"config.ini=old", "read-only"},
       "ini 0 old | Log 00 | rec  - | lock 11 | config.ini 644=old"},
  };
  std::string skipped;
  for (const auto& [plan, outcome] : rows) {
    TempDir temp;
    fs::create_directories(temp / "away");
    WriteFile(temp / "away/kept", "old");
    fs::permissions(temp / "away/kept", fs::perms(0604));
    std::optional<TinyTmpfs> disk;
    if (!plan.empty() && (plan.back() == "full" || plan.back() == "read-only")) {
      if (!disk.emplace().Mounted()) {
        skipped += " " + plan.back();
        continue;
      }
    }
    const std::string dir = disk ? disk->Path() : temp / "data";
    fs::create_directories(dir);
    for (const std::string& step : plan) {
      const std::string path = dir + "/" + step.substr(0, step.find_first_of("=>|"));
      if (step == "full") {
        disk->Fill();
      } else if (step == "read-only") {
        disk->SetReadOnly(true);
      } else if (step.ends_with('/')) {
        fs::create_directories(path);
      } else if (step.ends_with('|')) {
        ::mkfifo(path.c_str(), 0600);
      } else if (const auto link = step.find('>'); link != std::string::npos) {
        fs::create_symlink(temp / step.substr(link + 1), path);
      } else {
        WriteFile(path, step.substr(step.find('=') + 1));
      }
    }
    EXPECT_EQ(Outcome(dir), outcome) << ::testing::PrintToString(plan);
    EXPECT_EQ(Listing(temp / "away"), " kept 604=old") << ::testing::PrintToString(plan);
  }
  if (!skipped.empty()) GTEST_SKIP() << "mounting a tmpfs is not permitted here:" << skipped;
}

}  // namespace
}  // namespace tarnwell::testing
