// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <QApplication>
#include <QMessageBox>
#include <QTest>

#include "TestFiles.h"
#include "platform/qt/QtMessageBox.h"
#include "platform/qt/QtTimer.h"
#include "qt/QtTestApplication.h"

namespace tarnwell::testing {
namespace {

[[maybe_unused]] const auto* const kQt = ::testing::AddGlobalTestEnvironment(new QtTestApplication);

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
