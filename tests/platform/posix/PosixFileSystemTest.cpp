// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>

#include "FileOutcome.h"
#include "TestFiles.h"
#include "platform/posix/FolderLock.h"
#include "platform/posix/PosixFileSystem.h"
#include "posix/ChildProcess.h"
#include "posix/TinyTmpfs.h"

namespace tarnwell::testing {
namespace {

namespace fs = std::filesystem;

TEST(PosixFileSystem, WholeFilesKeepEveryByteAndAppendsSurviveRemoval) {
  TempDir temp;
  const std::string path = temp / "config.ini", rec = temp / "rec.txt";
  PosixFileSystem files(temp.Path() + "//");
  const std::string bytes("1'Mode\r\n\xfd\xdd\0end", 14);
  ASSERT_TRUE(files.WriteWhole(path, bytes));
  EXPECT_EQ(std::tuple(files.ReadAll(path), files.ReadTail(path, 5),
                       files.DataFolder() + files.Separator()),
            std::tuple(bytes, bytes.substr(9), temp / ""));
  auto file = files.OpenAppend(rec);
  ASSERT_TRUE(file && file->Write("1\r\n"));
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
  return ChildProcess::Run({"sh", "-c",
                            "cd $D && find . -mindepth 1 | LC_ALL=C sort | while read -r f; do"
                            " f=${f#./}; printf ' %s' $f; if [ -L $f ]; then printf @; elif"
                            " [ -f $f ] && [ $(stat -c %s $f) -lt 64 ]; then stat -c ' %a=' $f |"
                            " tr -d '\\n'; cat $f; fi; done"},
                           {"D=" + dir})
      .output;
}

// Each operation of the adapter in a data folder, then what is in the folder.
std::string Outcome(const std::string& dir) {
  PosixFileSystem files(dir);
  const std::string operations = FileOperationsOutcome(files, dir, "rec.txt");
  const FolderLock first(dir), second(dir);
  return operations + " | lock " + (first.Held() ? "1" : "0") + (second.Held() ? "1" : "0") + " |" +
         Listing(dir);
}

// Real folders and tmpfs, full or read-only, made by each row; no planted link reaches $A/kept.
TEST(PosixFileSystem, EachKindOfFolderGivesItsWholeOutcome) {
  ::umask(022);
  const std::pair<std::string, std::string> rows[] = {
      {"echo half >config.ini.new",
       "ini 1 new | Log 01 | rec 111 1 | lock 10 | .lock 640= Log Log/rec.txt 644=1 config.ini "
       "644=new"},
      {"echo file >Log",
       "ini 1 new | Log 00 | rec  - | lock 10 | .lock 640= Log 644=file\n config.ini 644=new"},
      {"mkdir -p config.ini Log/rec.txt",
       "ini 0 - | Log 11 | rec  - | lock 10 | .lock 640= Log Log/rec.txt config.ini"},
      {"ln -s $A/kept config.ini && ln -s $A Log",
       "ini 1 new | Log 00 | rec  - | lock 10 | .lock 640= Log@ config.ini 644=new"},
      {"mkdir Log && ln -s $A/kept Log/rec.txt && ln -s $A/kept .lock",
       "ini 1 new | Log 11 | rec  old | lock 11 | .lock@ Log Log/rec.txt@ config.ini 644=new"},
      {"mkdir Log && mkfifo Log/rec.txt .lock",
       "ini 1 new | Log 11 | rec  - | lock 11 | .lock Log Log/rec.txt config.ini 644=new"},
      {"disk: mkdir Log && mknod Log/rec.txt c 1 3",
       "ini 1 new | Log 11 | rec  - | lock 10 | .lock 640= Log Log/rec.txt config.ini 644=new"},
      {"disk: printf old >config.ini; cat /dev/zero >filler",
       "ini 0 old | Log 01 | rec 011  | lock 10 | .lock 640= Log Log/rec.txt 644= config.ini "
       "644=old filler"},
      {"disk: printf old >config.ini && mount -o remount,ro .",
       "ini 0 old | Log 00 | rec  - | lock 11 | config.ini 644=old"},
  };
  std::string skipped;
  for (const auto& [plan, outcome] : rows) {
    TempDir temp;
    std::optional<TinyTmpfs> disk;
    if (plan.starts_with("disk: ") && !disk.emplace().Mounted()) {
      skipped += " " + plan;
      continue;
    }
    const std::string dir = disk ? disk->Path() : temp / "data", away = temp / "away";
    fs::create_directories(dir);
    ChildProcess::Run(
        {"sh", "-c",
         "mkdir $A; printf old >$A/kept; chmod 604 $A/kept; cd $D; " + plan.substr(disk ? 6 : 0)},
        {"A=" + away, "D=" + dir});
    // Whatever an operation opened is closed again.
    const auto descriptors = [] {
      return std::distance(fs::directory_iterator("/proc/self/fd"), {});
    };
    const auto before = descriptors();
    EXPECT_EQ(Outcome(dir), outcome) << plan;
    EXPECT_EQ(descriptors(), before) << plan;
    EXPECT_EQ(Listing(away), " kept 604=old") << plan;
  }
  if (!skipped.empty()) GTEST_SKIP() << "mounting a tmpfs is not permitted here:" << skipped;
}

}  // namespace
}  // namespace tarnwell::testing
