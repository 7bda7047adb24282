// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <thread>
#include <vector>

#include "TestFiles.h"
#include "Win32TestSupport.h"
#include "platform/win32/MessageWindow.h"
#include "platform/win32/Utf16.h"
#include "platform/win32/Win32MessageBox.h"
#include "platform/win32/Win32Timer.h"

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
  ASSERT_TRUE(PumpUntil([&] { return ran.size() == 100; }));
  EXPECT_FALSE(elsewhere);
  for (int i = 0; i < 100; ++i) EXPECT_EQ(ran[static_cast<std::size_t>(i)], i);

  int ticks = 0;
  UINT_PTR id = 0;
  id = window.StartTimer(10, [&] {
    if (++ticks == 3) window.StopTimer(id);
  });
  EXPECT_NE(id, 0u);
  ASSERT_TRUE(PumpUntil([&] { return ticks >= 3; }));
  MessageWindow::RunUntil([] { return false; }, 100);
  EXPECT_EQ(ticks, 3);
}

TEST(Win32Timer, FiresOnItsThreadWhileEnabledAndAboveZero) {
  MessageWindow window;
  Win32Timer reference(window), timer(window);
  int ticks = 0, fired = 0;
  bool elsewhere = false;
  const std::thread::id ui = std::this_thread::get_id();
  reference.SetHandler([&] { ++ticks; });
  reference.SetInterval(10);
  timer.SetHandler([&] {
    elsewhere = elsewhere || std::this_thread::get_id() != ui;
    ++fired;
  });
  // An interval of 0 never fires, nor a disabled timer.
  const auto idleFor = [&](int n) {
    const int from = ticks;
    return PumpUntil([&] { return ticks >= from + n; });
  };
  ASSERT_TRUE(idleFor(20));
  timer.SetInterval(10);
  timer.SetEnabled(false);
  ASSERT_TRUE(idleFor(20));
  EXPECT_EQ(std::tuple(fired, timer.Interval(), timer.Enabled()), std::tuple(0, 10, false));
  timer.SetEnabled(true);
  ASSERT_TRUE(PumpUntil([&] { return fired >= 3; }));
  timer.SetInterval(0);
  const int stopped = fired;
  ASSERT_TRUE(idleFor(20));
  EXPECT_EQ(fired, stopped);
  // Kept at the first interval, it would not fire within the minute waited.
  timer.SetInterval(600000);
  timer.SetInterval(10);
  EXPECT_TRUE(PumpUntil([&] { return fired >= stopped + 3; }));
  EXPECT_FALSE(elsewhere);
  {
    Win32Timer gone(window);
    gone.SetHandler([&] { ++fired; });
    gone.SetInterval(10);
  }
  timer.SetEnabled(false);
  const int left = fired;
  ASSERT_TRUE(idleFor(20));
  EXPECT_EQ(fired, left);
}

// The message boxes of this process up now as "title: text", sorted; OK pressed first on the
// one showing `pressOk`.
std::vector<std::string> BoxesUp(const std::string& pressOk = {}) {
  struct Search {
    std::wstring pressOk;
    std::vector<std::string> texts;
  } search{Widen(pressOk), {}};
  const auto each = [](HWND window, LPARAM l) -> BOOL {
    auto& s = *reinterpret_cast<Search*>(l);
    DWORD pid = 0;
    ::GetWindowThreadProcessId(window, &pid);
    wchar_t kind[16], text[512];
    kind[::GetClassNameW(window, kind, 16)] = 0;
    if (pid != ::GetCurrentProcessId() || std::wstring(kind) != L"#32770") return TRUE;
    text[::GetDlgItemTextW(window, 0xFFFF, text, 512)] = 0;
    if (!s.pressOk.empty() && s.pressOk == text) ::PostMessageW(window, WM_COMMAND, IDOK, 0);
    if (::IsWindowVisible(window)) s.texts.push_back(TextOf(window) + ": " + Narrow(text));
    return TRUE;
  };
  ::EnumWindows(each, reinterpret_cast<LPARAM>(&search));
  std::sort(search.texts.begin(), search.texts.end());
  return search.texts;
}
void PressOk(const std::string& text) { BoxesUp(text); }

// Boxes that come up while the program runs wait beside it: the thread that asked goes on with
// its timers, the same message twice is one box, and no more than the most are up at once.
TEST(Win32MessageBox, WhileTheProgramRunsBoxesWaitBesideIt) {
  MessageWindow window;
  Win32Timer reading(window);
  int reads = 0;
  reading.SetHandler([&] { ++reads; });
  reading.SetInterval(10);
  auto boxes = std::make_unique<Win32MessageBox>("Tarnwell");
  boxes->SetWaiting(false);
  boxes->Show("Can not open port. Ölçü", {});
  boxes->Show("Can not open port. Ölçü", {});
  ASSERT_TRUE(PumpUntil([&] { return BoxesUp().size() == 1 && reads >= 20; }));
  EXPECT_EQ(BoxesUp(), std::vector<std::string>{"Tarnwell: Can not open port. Ölçü"});
  for (int i = 1; i <= 9; ++i) boxes->Show("Record lines lost: " + std::to_string(i), "Title");
  ASSERT_TRUE(PumpUntil([&] { return BoxesUp().size() == Win32MessageBox::kMostOpen; }));
  PressOk("Can not open port. Ölçü");
  // A box answered makes room once its thread is done; shown again, the message gets a box.
  int shownAt = -20;
  ASSERT_TRUE(PumpUntil([&] {
    if (reads >= shownAt + 20 && BoxesUp().size() < Win32MessageBox::kMostOpen) {
      shownAt = reads;
      boxes->Show("Record lines lost: 9", "Title");
    }
    return BoxesUp().size() == Win32MessageBox::kMostOpen &&
           BoxesUp().front() == "Title: Record lines lost: 1";
  }));
  EXPECT_EQ(BoxesUp().back(), "Title: Record lines lost: 9");
  const int before = reads;
  ASSERT_TRUE(PumpUntil([&] { return reads >= before + 20; }));
  // The program's end closes what nobody answered.
  boxes.reset();
  EXPECT_EQ(BoxesUp(), std::vector<std::string>{});
}

// During start-up and shutdown the box waits for OK before Show returns.
TEST(Win32MessageBox, BeforeTheProgramRunsShowWaitsForOk) {
  Win32MessageBox boxes("Tarnwell");
  std::atomic<bool> shown{false}, returned{false}, seenBeforeReturn{false};
  std::thread person([&] {
    if (!WaitUntil([] { return !BoxesUp().empty(); }, 60)) return;
    seenBeforeReturn = !returned;
    PressOk("Tarnwell is already running in C:\\data.");
  });
  boxes.Show("Tarnwell is already running in C:\\data.", {});
  returned = true;
  person.join();
  EXPECT_TRUE(seenBeforeReturn);
  EXPECT_EQ(BoxesUp(), std::vector<std::string>{});
}

// With TARNWELL_MESSAGE_LOG set, each message is one UTF-8 line of the file and no box comes.
TEST(Win32MessageBox, TheMessageLogTakesEachMessageAsOneLine) {
  TempFolder temp;
  const std::string log = temp / "mesajlar ölçü.log";
  ::SetEnvironmentVariableW(L"TARNWELL_MESSAGE_LOG", Widen(log).c_str());
  Win32MessageBox boxes("Tarnwell");
  boxes.Show("Kayıt dosyası açılamadı", {});
  boxes.SetWaiting(false);
  boxes.Show("Record lines lost: 3", "Тест");
  ::SetEnvironmentVariableW(L"TARNWELL_MESSAGE_LOG", nullptr);
  EXPECT_EQ(ReadBytes(log), "Tarnwell\tKayıt dosyası açılamadı\nТест\tRecord lines lost: 3\n");
  EXPECT_EQ(BoxesUp(), std::vector<std::string>{});
}

}  // namespace
}  // namespace tarnwell::testing
