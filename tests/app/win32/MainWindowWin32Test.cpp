// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>
#include <windows.h>

#include <functional>
#include <set>

#include "ProgramFakes.h"
#include "Win32TestSupport.h"
#include "app/win32/Win32MainWindow.h"
#include "platform/win32/Utf16.h"

namespace tarnwell::testing {
namespace {

// The program's wiring around a real window on fakes.
struct Program : ProgramFakes {
  explicit Program(const ConfigValues& settings) : ProgramFakes(settings) {
    window.SetForm(&form);
    EXPECT_TRUE(form.StartUp());
    window.Show();
  }
  HWND Control(MainControl c) const { return window.Control(c); }
  Win32MainWindow window;
  Mainform form{Services(Regional{}), window, Version{1, 0, 2}};
};

// The values of config.ini lines `first` to `last` (numbered from 0), each followed by a blank.
std::string StoredValues(Program& p, std::size_t first, std::size_t last) {
  const auto ini = SplitLines(p.files.files["/prog/config.ini"]);
  std::string stored;
  for (std::size_t line = first; line <= last; ++line)
    stored += std::string(ini.at(line).substr(0, ini.at(line).find('\''))) + " ";
  return stored;
}

// Pixels of `w` on the screen for which `counted` holds.
int Pixels(HWND w, const std::function<bool(COLORREF)>& counted) {
  ::RedrawWindow(::GetAncestor(w, GA_ROOT), nullptr, nullptr,
                 RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN | RDW_ERASE);
  RECT r{};
  ::GetClientRect(w, &r);
  HDC dc = ::GetDC(w);
  int n = 0;
  for (int y = 0; y < r.bottom; ++y)
    for (int x = 0; x < r.right; ++x) n += counted(::GetPixel(dc, x, y));
  ::ReleaseDC(w, dc);
  return n;
}

// Recording from start-up; the Stop box stops and starts timers and port; saved once on closing.
TEST(Win32MainWindowProgram, StartsRecordingStopsAndSavesItsSettingsOnce) {
  Program p(
      {{"LogEnable", "1"}, {"RecordOnStartup", "1"}, {"Language", "0"}, {"WindowWidth", "9000"}});
  EXPECT_EQ(std::tuple(p.window.Caption(), p.messages.shown.size(), p.form.Loading(),
                       p.record.interval, p.port.open, p.refresh.Running(), p.form.Recording()),
            std::tuple("Vornel-> Tarnwell v1.0.2", 0u, false, 100, true, true, true));
  const auto on = [&] {
    ::SendMessageW(p.Control(MainControl::kAppStop), BM_CLICK, 0, 0);
    return std::vector{p.port.open, p.refresh.enabled, p.record.enabled};
  };
  EXPECT_EQ(on(), (std::vector{false, false, false}));
  EXPECT_EQ(on(), (std::vector{true, true, true}));
  on();
  p.port.ports.clear();
  // A port that cannot be opened: the timers go on.
  EXPECT_EQ(on(), (std::vector{false, true, true}));
  EXPECT_EQ(p.messages.shown.back().text,
            "The serial port cannot be opened or used.  8002:Invalid port number");
  ::SendMessageW(p.window.Handle(), WM_CLOSE, 0, 0);
  EXPECT_FALSE(::IsWindow(p.window.Handle()));
  const std::string saved = p.files.files["/prog/config.ini"];
  EXPECT_EQ(SplitLines(saved).at(35), "9000' Window Width. Def:7290 ");
  EXPECT_EQ(std::vector({p.port.open, p.refresh.enabled}), std::vector({false, false}));
  p.form.ShutDown();
  EXPECT_EQ(p.files.files["/prog/config.ini"], saved);
}

// A log-off of Windows runs the shutdown before the program is ended.
TEST(Win32MainWindowProgram, ALogOffWritesTheSettings) {
  Program p({{"Language", "0"}, {"WindowWidth", "9000"}});
  p.files.files.erase("/prog/config.ini");
  EXPECT_EQ(::SendMessageW(p.window.Handle(), WM_QUERYENDSESSION, 0, ENDSESSION_LOGOFF), TRUE);
  EXPECT_EQ(p.files.files.count("/prog/config.ini"), 0u);
  ::SendMessageW(p.window.Handle(), WM_ENDSESSION, TRUE, ENDSESSION_LOGOFF);
  EXPECT_EQ(SplitLines(p.files.files["/prog/config.ini"]).at(35), "9000' Window Width. Def:7290 ");
  EXPECT_FALSE(p.port.open);
}

// The shutdown says whether everything was saved: config.ini and every record line.
TEST(Win32MainWindowProgram, AShutdownTellsWhetherEverythingWasSaved) {
  Program saved({{"Language", "0"}, {"LogEnable", "1"}, {"RecordOnStartup", "1"}});
  EXPECT_TRUE(saved.form.ShutDown());
  Program readOnly(ConfigValues{{"Language", "0"}});
  readOnly.files.readOnly = true;
  EXPECT_FALSE(readOnly.form.ShutDown());
  Program full({{"Language", "0"}, {"LogTime", "0"}, {"LogEnable", "1"}, {"RecordOnStartup", "1"}});
  full.files.full = true;
  full.Frames();
  EXPECT_FALSE(full.form.ShutDown());
  // Asked again, as the end of the message loop does, the answer stands.
  EXPECT_FALSE(full.form.ShutDown());
}

// The reading in large bright digits, then dark once no frame came for 32 ticks.
TEST(Win32MainWindowProgram, TheReadingIsDrawnInLargeDigitsDarkWhenStale) {
  Program p({});
  const auto ini = Split(p.files.files["/prog/config.ini"], "\r\n");
  EXPECT_EQ(ini.at(35).substr(0, 5) + ini.at(36).substr(0, 5), "7290'6300'");
  p.Frames();
  EXPECT_EQ(p.window.CurrentCaption(), "12.34");
  const auto is = [](COLORREF c) { return [c](COLORREF seen) { return seen == c; }; };
  // Five characters 54 points high fill thousands of pixels.
  EXPECT_GT(Pixels(p.Control(MainControl::kCurrent), is(RGB(255, 128, 0))), 2000);
  EXPECT_GT(Pixels(p.Control(MainControl::kLabNofDat), is(RGB(224, 224, 224))), 0);
  EXPECT_GT(Pixels(p.window.Handle(), is(RGB(40, 40, 40))), 0);
  for (int i = 0; i < 32; ++i) p.refresh.Fire();
  EXPECT_GT(Pixels(p.Control(MainControl::kCurrent), is(RGB(128, 64, 0))), 2000);
  EXPECT_EQ(Pixels(p.Control(MainControl::kCurrent), is(RGB(255, 128, 0))), 0);
}

// In advanced mode the zoom button's presses switch zooming and the pointer, its right press
// fits the range; the graph's double click starts the trace afresh unless zooming.
TEST(Win32MainWindowProgram, TheZoomButtonSwitchesZoomingWithItsPointer) {
  Program p(ConfigValues{{"AdvancedMode", "52814"}});
  HWND zoom = p.Control(MainControl::kCmdZoomIn);
  EXPECT_TRUE(::IsWindowVisible(zoom));
  const auto pointer = [&] {
    ::SendMessageW(p.window.Handle(), WM_SETCURSOR,
                   reinterpret_cast<WPARAM>(p.Control(MainControl::kGraph)),
                   MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
    return ::GetCursor() == ::LoadCursorW(nullptr, IDC_SIZEALL);
  };
  std::vector<int> seen;
  for (int i = 0; i < 2; ++i) {
    ::SendMessageW(zoom, WM_LBUTTONDOWN, MK_LBUTTON, 0);
    ::SendMessageW(zoom, WM_LBUTTONUP, 0, 0);
    seen.insert(seen.end(), {int{p.form.Graph().Zooming()}, pointer()});
  }
  EXPECT_EQ(seen, (std::vector{1, 1, 0, 0}));
  p.port.Receive("34\r+0012.34\r+0020.00\r");
  ::SendMessageW(zoom, WM_RBUTTONDOWN, MK_RBUTTON, 0);
  EXPECT_FALSE(p.form.Graph().Zooming());
  p.refresh.Fire();
  EXPECT_EQ(TextOf(p.Control(MainControl::kRangeofChange)), "+/- 3.83");
  HWND graph = p.Control(MainControl::kGraph);
  ::SendMessageW(graph, WM_MOUSEMOVE, 0, MAKELPARAM(10, 30));
  EXPECT_EQ(std::pair(p.form.Graph().GraphMouseX(), p.form.Graph().GraphMouseY()),
            std::pair(150.0, 450.0 - 380));
  ::SendMessageW(graph, WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(10, 30));
  p.refresh.Fire();
  EXPECT_EQ(TextOf(p.Control(MainControl::kRangeofChange)), "+/- 0.00");
  // Zooming, a left click in the upper part shows the upper half of the fitted range.
  ::SendMessageW(zoom, WM_LBUTTONDOWN, MK_LBUTTON, 0);
  ::SendMessageW(graph, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(10, 30));
  ::SendMessageW(p.window.Handle(), WM_CLOSE, 0, 0);
  EXPECT_EQ(StoredValues(p, 11, 12), "16.17 20 ");
}

// Every visible control inside its parent and clear of its siblings, and every text whole inside
// its control in its own font, in every language and size. By design the reading's label
// reaches above its panel (its digits sit at its bottom), the span and rate labels are taller
// than the room between them, and the smallest value panel spans both.
TEST(Win32MainWindowLayout, EveryControlLiesInsideItsParentClearOfItsSiblings) {
  std::string misplaced;
  for (const char* language : {"0", "1", "2", "3", "4", "5", "6", "255"}) {
    for (const std::string size : {"1000", "25000"}) {
      Program p({{"AdvancedMode", "52814"},
                 {"Language", language},
                 {"WindowWidth", size},
                 {"WindowHeight", size}});
      p.Frames();
      // The design's longest reading, which must fit as well as the frames' one.
      p.window.SetCurrentCaption("123456.7");
      std::set<std::string> designed{"LabNofDat RangeofChange"};
      if (size == "1000")
        designed.insert({"LabNofDat WeighBox", "RangeofChange WeighBox", "WeighBox picLogo"});
      const auto where = [&](MainControl c) {
        RECT r = PlaceInParent(p.Control(c));
        if (c == MainControl::kCurrent) r.top = std::max(r.top, 0L);
        return r;
      };
      const std::string at = language + (" " + size) + " ";
      for (const MainControlDesign& a : MainDesign()) {
        if (!::IsWindowVisible(p.Control(a.control))) continue;
        RECT parent{}, both{};
        ::GetClientRect(::GetParent(p.Control(a.control)), &parent);
        const RECT r = where(a.control);
        if (r.left < 0 || r.top < 0 || r.right > parent.right || r.bottom > parent.bottom)
          misplaced += at + a.name + " outside\n";
        for (const MainControlDesign& b : MainDesign()) {
          if (&b <= &a || a.inWeighBox != b.inWeighBox || !::IsWindowVisible(p.Control(b.control)))
            continue;
          const RECT other = where(b.control);
          const std::string two = std::string(a.name) < b.name
                                      ? a.name + (" " + std::string(b.name))
                                      : b.name + (" " + std::string(a.name));
          if (::IntersectRect(&both, &r, &other) && !designed.count(two))
            misplaced += at + two + " overlap\n";
        }
      }
      // The texts in their controls' fonts: the check box's text beside its box.
      for (MainControl c : {MainControl::kCurrent, MainControl::kRangeofChange,
                            MainControl::kLabNofDat, MainControl::kAppStop}) {
        HWND w = p.Control(c);
        RECT room{};
        ::GetClientRect(w, &room);
        if (c == MainControl::kAppStop) room.right -= ::GetSystemMetrics(SM_CXMENUCHECK) + 4;
        const std::string text = c == MainControl::kCurrent ? p.window.CurrentCaption() : TextOf(w);
        const SIZE need = TextNeed(p.window.FontOf(c), Widen(text));
        if (text.empty() || need.cx > room.right || need.cy > room.bottom)
          misplaced += at + DesignOf(c).name + " text \"" + text + "\" does not fit\n";
      }
      // Every font of the window's texts in the language's character set.
      const int charset = language == std::string("1")                                   ? 162
                          : language == std::string("2") || language == std::string("3") ? 204
                                                                                         : 0;
      for (const MainControlDesign& d : MainDesign()) {
        if (d.kind != MainControlKind::kLabel && d.kind != MainControlKind::kCheckBox) continue;
        LOGFONTW font{};
        ::GetObjectW(p.window.FontOf(d.control), sizeof font, &font);
        if (font.lfCharSet != charset)
          misplaced += at + d.name + " charset " + std::to_string(font.lfCharSet) + "\n";
      }
    }
  }
  EXPECT_EQ(misplaced, "");
}

// Tool tips come from the language, the design's before.
TEST(Win32MainWindowLayout, ToolTipsComeFromTheLanguage) {
  Win32MainWindow bare;
  EXPECT_EQ(bare.ToolTipOf(MainControl::kCurrent), "Anlık ölçüm değeridir");
  Program p(ConfigValues{{"Language", "0"}});
  EXPECT_EQ(p.window.ToolTipOf(MainControl::kCurrent), p.form.Texts().Text(152));
  EXPECT_EQ(p.window.ToolTipOf(MainControl::kAppStop), p.form.Texts().Text(138));
  EXPECT_EQ(TextOf(p.Control(MainControl::kAppStop)), p.form.Texts().Text(238));
}

// Every stored state is taken; sized while maximised or minimised, the restored size is the one
// asked for, and the window is restored to it.
TEST(Win32MainWindowStates, EveryStoredStateIsTakenAndTheRestoredSizeKept) {
  Win32MainWindow window;
  window.Show();
  std::vector<double> seen;
  for (int state : {2, 1, 0}) {
    seen.push_back(window.SetWindowState(static_cast<WindowMode>(state)));
    if (state == 2) window.ResizeWindow(9000, 6000);
    if (state == 1) window.MoveWindow(300, 450);
    seen.insert(seen.end(), {double(static_cast<int>(window.WindowState())), window.WindowWidth(),
                             window.WindowHeight()});
  }
  seen.insert(seen.end(), {window.WindowLeft(), window.WindowTop()});
  EXPECT_EQ(seen,
            (std::vector<double>{1, 2, 9000, 6000, 1, 1, 9000, 6000, 1, 0, 9000, 6000, 300, 450}));
  // Below the least size the rules widen and raise it.
  window.ResizeWindow(3000, 2000);
  EXPECT_EQ(std::pair(window.WindowWidth(), window.WindowHeight()), std::pair(8010.0, 3825.0));
}

// Closed while minimised or maximised, the stored place and size are those it is restored to;
// started maximised, the window is sized for its restored bounds.
TEST(Win32MainWindowStates, MinimisedOrMaximisedItKeepsTheRestoredPlaceAndSize) {
  for (const auto& [state, closed] : {std::pair{"1", true}, {"2", true}, {"2", false}}) {
    Program p({{"Language", "0"},
               {"WindowState", state},
               {"WindowLeft", "1500"},
               {"WindowTop", "1200"},
               {"WindowWidth", "9000"},
               {"WindowHeight", "6000"}});
    if (closed) {
      ::SendMessageW(p.window.Handle(), WM_CLOSE, 0, 0);
      EXPECT_EQ(StoredValues(p, 32, 36), state + std::string(" 1500 1200 9000 6000 "));
      continue;
    }
    EXPECT_EQ(std::pair(p.window.WindowState(), ::IsZoomed(p.window.Handle()) != 0),
              std::pair(WindowMode::kMaximized, true));
    ::ShowWindow(p.window.Handle(), SW_RESTORE);
    RECT r{};
    ::GetWindowRect(p.window.Handle(), &r);
    EXPECT_EQ(std::pair(r.right - r.left, r.bottom - r.top), std::pair(600L, 400L));
  }
}

}  // namespace
}  // namespace tarnwell::testing
