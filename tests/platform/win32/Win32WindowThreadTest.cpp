// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <atomic>
#include <thread>

#include "TestFiles.h"
#include "Win32TestSupport.h"
#include "platform/win32/MessageWindow.h"
#include "platform/win32/Utf16.h"
#include "platform/win32/Win32MessageBox.h"
#include "platform/win32/Win32Timer.h"

namespace tarnwell::testing {
namespace {

// Pumps the thread's messages until `done` holds; a generous limit only against a hang.
bool PumpUntil(const std::function<bool()>& done) { return MessageWindow::RunUntil(done, 60000); }

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

// The message boxes of this process up now: their texts, in the order found.
std::vector<std::string> BoxesUp() {
  std::vector<std::string> texts;
  const auto each = [](HWND window, LPARAM l) -> BOOL {
    DWORD pid = 0;
    ::GetWindowThreadProcessId(window, &pid);
    wchar_t kind[16], text[512];
    kind[::GetClassNameW(window, kind, 16)] = 0;
    if (pid == ::GetCurrentProcessId() && ::IsWindowVisible(window) &&
        std::wstring(kind) == L"#32770") {
      wchar_t title[128];
      title[::GetWindowTextW(window, title, 128)] = 0;
      text[::GetDlgItemTextW(window, 0xFFFF, text, 512)] = 0;
      reinterpret_cast<std::vector<std::string>*>(l)->push_back(Narrow(title) + ": " +
                                                                Narrow(text));
    }
    return TRUE;
  };
  ::EnumWindows(each, reinterpret_cast<LPARAM>(&texts));
  std::sort(texts.begin(), texts.end());
  return texts;
}

// Presses OK on the box with this text.
void PressOk(const std::string& text) {
  const auto each = [](HWND window, LPARAM l) -> BOOL {
    wchar_t shown[512];
    shown[::GetDlgItemTextW(window, 0xFFFF, shown, 512)] = 0;
    DWORD pid = 0;
    ::GetWindowThreadProcessId(window, &pid);
    if (pid == ::GetCurrentProcessId() && *reinterpret_cast<std::wstring*>(l) == shown) {
      ::PostMessageW(window, WM_COMMAND, IDOK, 0);
    }
    return TRUE;
  };
  std::wstring wide = Widen(text);
  ::EnumWindows(each, reinterpret_cast<LPARAM>(&wide));
}

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
