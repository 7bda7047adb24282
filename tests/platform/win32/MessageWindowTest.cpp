// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <thread>
#include <vector>

#include "platform/win32/MessageWindow.h"

namespace tarnwell::testing {
namespace {

// Work posted from other threads runs on the window's thread, in order, and a timer fires until
// it stops itself.
TEST(MessageWindow, RunsPostedWorkInOrderAndTimersOnItsThread) {
  MessageWindow window;
  const std::thread::id ui = std::this_thread::get_id();
  std::vector<int> ran;
  bool elsewhere = false;
  std::thread poster([&] {
    for (int i = 0; i < 100; ++i) {
      window.Post([&, i] {
        elsewhere = elsewhere || std::this_thread::get_id() != ui;
        ran.push_back(i);
      });
    }
  });
  poster.join();
  ASSERT_TRUE(MessageWindow::RunUntil([&] { return ran.size() == 100; }, 30000));
  EXPECT_FALSE(elsewhere);
  for (int i = 0; i < 100; ++i) EXPECT_EQ(ran[static_cast<std::size_t>(i)], i);

  int ticks = 0;
  UINT_PTR id = 0;
  id = window.StartTimer(10, [&] {
    if (++ticks == 3) window.StopTimer(id);
  });
  EXPECT_NE(id, 0u);
  ASSERT_TRUE(MessageWindow::RunUntil([&] { return ticks >= 3; }, 30000));
  MessageWindow::RunUntil([] { return false; }, 100);
  EXPECT_EQ(ticks, 3);
}

}  // namespace
}  // namespace tarnwell::testing
