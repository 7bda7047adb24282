// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <QApplication>
#include <QMessageBox>
#include <QTest>

#include "TestFiles.h"
#include "platform/qt/QtClock.h"
#include "platform/qt/QtMessageBox.h"
#include "platform/qt/QtTimer.h"
#include "qt/QtTestApplication.h"

namespace tarnwell::testing {
namespace {

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
    qputenv("TZ", zone);
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
