// SPDX-License-Identifier: GPL-3.0-or-later
#include <fcntl.h>
#include <gtest/gtest.h>
#include <pty.h>
#include <sys/ioctl.h>

#include <QApplication>
#include <QMessageBox>
#include <QTest>
#include <memory>

#include "ChildProcess.h"
#include "QtTestApplication.h"
#include "TinyTmpfs.h"
#include "platform/posix/FolderLock.h"
#include "platform/posix/LineReader.h"
#include "platform/posix/RawLine.h"
#include "platform/qt/QtClock.h"
#include "platform/posix/PosixFileSystem.h"
#include "platform/qt/QtMessageBox.h"
#include "platform/qt/QtTimer.h"

namespace tarnwell::testing {
namespace {

namespace fs = std::filesystem;
using namespace std::string_literals;

[[maybe_unused]] const auto* const kQt = ::testing::AddGlobalTestEnvironment(new QtTestApplication);

// Half hours, the date line, and Central Europe's daylight saving both ways in 2024.
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
  QtTimer timer;
  int fired = 0;
  timer.SetHandler([&fired] { ++fired; });
  // Kept at the first interval, it would not fire within the half minute waited.
  timer.SetInterval(60000);
  timer.SetInterval(5);
  EXPECT_TRUE(WaitUntil([&] { return QCoreApplication::processEvents(), fired >= 3; }, 30));
}

// The outcome of a sync started in the background, once it is told.
std::optional<bool> BackgroundSyncOf(AppendFile& file) {
  file.StartSync();
  std::optional<bool> done;
  WaitUntil([&] { return (done = file.TakeSyncOutcome()).has_value(); }, 30);
  return done;
}

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

// Each read as its length, "o" after an opening and "-n" after a loss in which n frames ended.
std::string ReadsOf(const Received& in) {
  std::string out;
  for (std::size_t i = 0, from = 0; i < in.reads.size(); from = in.reads[i++].end) {
    out += " " + std::to_string(in.reads[i].end - from);
    if (in.reads[i].follows == LineRead::Follows::kOpening) out += "o";
    if (in.reads[i].follows == LineRead::Follows::kLoss)
      out += "-" + std::to_string(in.reads[i].framesDropped);
  }
  return out;
}

// Filled while nobody read them: a pseudo-terminal, whose writer waited for room, loses nothing
// by the full reads that empty it; on a line that may overflow (a pipe taken for one) what waited
// behind the full read is dropped and its frames are counted, and reading goes on: a frame sent
// once the line is empty is taken, or counted, before the line ends.
TEST(LineReader, AFullReadDropsTheBacklogOnlyWhereTheLineMayHaveOverflowed) {
  const std::string frame = "+123.45\r";
  int master = -1, slave = -1, pipe[2];
  ASSERT_TRUE(::openpty(&master, &slave, nullptr, nullptr, nullptr) == 0 &&
              SetRawLine(slave, 9600) == 0 && ::pipe2(pipe, O_NONBLOCK | O_CLOEXEC) == 0);
  ::fcntl(master, F_SETFL, O_NONBLOCK);
  std::size_t written = 0;
  for (ssize_t n; (n = ::write(master, frame.data(), frame.size())) > 0;) written += n;
  std::string frames;
  for (int i = 0; i < 2500; ++i) frames += frame;
  ASSERT_EQ(::write(pipe[1], frames.data(), frames.size()), ssize_t(frames.size()));
  using Flow = LineReader::Flow;
  EXPECT_EQ(std::pair(LineReader::FlowOf(slave), LineReader::FlowOf(pipe[0])),
            std::pair(Flow::kWriterWaits, Flow::kWriterWaits));
  const QtClock clock;
  LineReader waits(
      slave, clock, [] {}, Flow::kWriterWaits);
  LineReader overflows(
      pipe[0], clock, [] {}, Flow::kMayOverflow);
  Received kept, cut;
  EXPECT_TRUE(WaitUntil([&] { return waits.TakeInto(kept), kept.chars.size() >= written; }, 30));
  int unread = 0;
  ASSERT_TRUE(
      WaitUntil([&] { return ::ioctl(pipe[0], FIONREAD, &unread) == 0 && unread == 0; }, 30));
  ASSERT_EQ(::write(pipe[1], frame.data(), frame.size()), ssize_t(frame.size()));
  ::close(pipe[1]);
  ASSERT_TRUE(WaitUntil([&] { return overflows.Lost(); }, 30));
  overflows.TakeInto(cut);
  std::size_t frameEnds = std::count(cut.chars.begin(), cut.chars.end(), '\r');
  for (const LineRead& read : cut.reads) frameEnds += read.framesDropped;
  EXPECT_TRUE(written > LineReader::kFullLine && kept.chars.size() == written &&
              kept.reads.at(0).end >= LineReader::kFullLine &&
              ReadsOf(kept).find('-') == std::string::npos)
      << written << ReadsOf(kept);
  // The kept read whole, and every frame sent kept or counted.
  EXPECT_EQ(std::tuple(ReadsOf(cut).substr(0, 7),
                       cut.chars.substr(0, 16384) == frames.substr(0, 16384), frameEnds),
            std::tuple(" 16384o"s, true, 2501u));
  for (const int fd : {master, slave, pipe[0]}) ::close(fd);
}

// While nobody takes the reads, the reader keeps no more than its bound; the next read it keeps
// follows the loss and counts the frames that ended in what it dropped.
TEST(LineReader, KeepsABoundedBacklogAndCountsTheFramesItDropped) {
  int line[2], unread = 0;
  ASSERT_EQ(::pipe2(line, O_NONBLOCK | O_CLOEXEC), 0);
  const QtClock clock;
  auto reader = std::make_unique<LineReader>(
      line[0], clock, [] {}, LineReader::FlowOf(line[0]));
  // Writes 500 frames and waits until they are taken; 4000 characters are less than a full line.
  std::string frames;
  for (int i = 0; i < 500; ++i) frames += "+123.45\r";
  const auto send = [&] {
    return ::write(line[1], frames.data(), 4000) == 4000 &&
           WaitUntil([&] { return ::ioctl(line[0], FIONREAD, &unread) == 0 && unread == 0; }, 30);
  };
  for (std::size_t sent = 0; sent <= ReadBacklog::kMostChars; sent += 4000) ASSERT_TRUE(send());
  Received kept, after;
  reader->TakeInto(kept);
  ASSERT_TRUE(send() &&
              WaitUntil([&] { return reader->TakeInto(after), !after.reads.empty(); }, 30));
  EXPECT_EQ(std::pair(kept.chars.size(), ReadsOf(after)),
            std::pair(ReadBacklog::kMostChars / 4000 * 4000, std::string(" 4000-500")));
  reader.reset(), ::close(line[0]), ::close(line[1]);
}

// Each operation of the adapter in a data folder, then what is in the folder.
std::string Outcome(const std::string& dir) {
  PosixFileSystem files(dir);
  const std::string ini = dir + "/config.ini", log = dir + "/Log", rec = log + "/rec.txt";
  const auto n = [](bool b) { return std::string(b ? "1" : "0"); };
  std::string out = "ini " + n(files.WriteWhole(ini, "new"));
  out += " " + files.ReadAll(ini).value_or("-") + " | Log " + n(files.FolderExists(log));
  out += n(files.CreateFolder(log)) + " | rec ";
  if (auto file = files.OpenAppend(rec)) {
    const bool wrote = file->Write("1"), synced = file->Sync();
    out += n(wrote) + n(synced) + n(BackgroundSyncOf(*file).value_or(false));
  }
  out += " " + files.ReadAll(rec).value_or("-");
  const FolderLock first(dir), second(dir);
  return out + " | lock " + n(first.Held()) + n(second.Held()) + " |" + Listing(dir);
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

// Boxes that do not wait: the same message again is one box, another title or text one more,
// and no more than the most are up at once however many come.
TEST(QtMessageBox, TheSameMessageIsOneBoxAndTheBoxesUpAreBounded) {
  QtMessageBox messages("Tarnwell");
  messages.SetWaiting(false);
  const auto up = [] {
    std::size_t n = 0;
    for (QWidget* w : QApplication::topLevelWidgets())
      n += qobject_cast<QMessageBox*>(w) != nullptr;
    return n;
  };
  for (const auto& [text, title] : {std::pair("lost", "Port"),
                                    {"lost", "Port"},
                                    {"lost", "File"},
                                    {"full", "Port"},
                                    {"lost", "Port"}})
    messages.Show(text, title);
  EXPECT_TRUE(QTest::qWaitFor([&] { return up() == 3; }, 30000)) << up();
  for (int i = 0; i < 20; ++i) messages.Show("frame " + std::to_string(i), "Port");
  EXPECT_TRUE(QTest::qWaitFor([&] { return up() == QtMessageBox::kMostOpen; }, 30000)) << up();
  for (QWidget* w : QApplication::topLevelWidgets())
    if (qobject_cast<QMessageBox*>(w)) delete w;
}

}  // namespace
}  // namespace tarnwell::testing
