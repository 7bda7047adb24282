// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>
#include <stdlib.h>

#include <QCoreApplication>
#include <QImage>
#include <QPainter>
#include <chrono>
#include <filesystem>
#include <thread>

#include "TempDir.h"
#include "TinyTmpfs.h"
#include "platform/DateTime.h"
#include "platform/qt/ColumnCover.h"
#include "platform/qt/DirectFill.h"
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

// A segment joins the rows its column already covers, or the next ones; elsewhere it is drawn as
// a line of its own. Columns outside the picture take everything and cover nothing.
TEST(ColumnCover, TakesOnlySegmentsThatTouchWhatTheirColumnCovers) {
  ColumnCover cover(8, 10);
  EXPECT_TRUE(cover.Add(QPointF(2.2, 0.5), QPointF(2.6, 1.5)));
  EXPECT_TRUE(cover.Add(QPointF(2.6, 1.5), QPointF(2.4, 2.5)));
  EXPECT_FALSE(cover.Add(QPointF(2.3, 6.5), QPointF(2.5, 7.5)));
  EXPECT_FALSE(cover.Add(QPointF(2.0, 1.0), QPointF(4.0, 1.0)));
  EXPECT_TRUE(cover.Add(QPointF(-5.2, 1), QPointF(-5.1, 3)));
  EXPECT_TRUE(cover.Add(QPointF(9.2, 1), QPointF(9.1, 3)));
  QImage image(8, 10, QImage::Format_RGB32);
  image.fill(Qt::black);
  QPainter painter(&image);
  cover.Paint(painter, Qt::white);
  painter.end();
  QImage covered(8, 10, QImage::Format_RGB32);
  covered.fill(Qt::black);
  for (int y : {0, 1, 2}) covered.setPixel(2, y, qRgb(255, 255, 255));
  EXPECT_EQ(image, covered);
}

// Pixels go straight into the image only where the painter would put exactly them there.
TEST(DirectFill, OnlyForAPlainPainterAndAnOpaqueColour) {
  const std::pair<const char*, void (*)(QPainter&, QColor&)> cases[] = {
      {"translucent colour", [](QPainter&, QColor& c) { c.setAlpha(128); }},
      {"clip set by hand", [](QPainter& p, QColor&) { p.setClipRect(1, 1, 4, 4); }},
      {"half opacity", [](QPainter& p, QColor&) { p.setOpacity(0.5); }},
      {"blending",
       [](QPainter& p, QColor&) { p.setCompositionMode(QPainter::CompositionMode_Multiply); }},
      {"scaled", [](QPainter& p, QColor&) { p.scale(2, 2); }},
      {"half-pixel shift", [](QPainter& p, QColor&) { p.translate(0.5, 0); }},
  };
  for (const auto format : {QImage::Format_RGB32, QImage::Format_ARGB32_Premultiplied}) {
    for (const auto& [what, change] : cases) {
      QImage image(8, 8, format);
      QPainter painter(&image);
      QColor color(Qt::green);
      painter.translate(2, 3);
      const auto plain = DirectTargetOf(painter, color);
      ASSERT_TRUE(plain) << what << format;
      EXPECT_EQ(plain->offset, QPoint(2, 3));
      change(painter, color);
      EXPECT_FALSE(DirectTargetOf(painter, color)) << what;
    }
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
  EXPECT_FALSE(files.FolderExists(path) || files.FileExists(dir + "/Log"));
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
