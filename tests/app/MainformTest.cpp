// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include "FakeClock.h"
#include "FakeFileSystem.h"
#include "FakeMessageBox.h"
#include "FakeProcessStarter.h"
#include "FakeSerialPort.h"
#include "FakeTimer.h"
#include "FakeViews.h"
#include "TestFiles.h"
#include "app/Mainform.h"
#include "app/ResizeRules.h"
#include "config/ConfigFile.h"

namespace tarnwell::testing {
namespace {

struct Program {
  FakeSerialPort port;
  FakeClock clock;
  FakeFileSystem files;
  FakeMessageBox messages;
  FakeTimer refreshTimer, recordTimer, motion;
  FakeMainView view;
  FakeProcessStarter processes;
  std::unique_ptr<Mainform> form = std::make_unique<Mainform>(
      Platform{port, clock, files, messages, Regional{}, refreshTimer, recordTimer, motion}, view,
      Version{1, 0, 2});

  // No config.ini, no Turkish file (the default language): the standard file is read.
  void LoadPlain() {
    files.files["/prog/std.lng"] = LanguageFileText("Port error");
    ASSERT_TRUE(form->StartUp());
  }
};

TEST(Mainform, StartUpGivesTextsBeforeTheSizeAndStartsPortTimersAndRecording) {
  Program p;
  // Recording allowed and started at start-up, English.
  p.files.files["/prog/config.ini"] = ConfigIniText({{15, "1"}, {32, "1"}, {19, "0"}});
  p.files.files["/prog/en.lng"] = LanguageFileText("Port error", "204");
  ASSERT_TRUE(p.form->StartUp());
  EXPECT_EQ(p.view.log, (std::vector<std::string>{"texts", "resize"}));
  EXPECT_EQ(std::tie(p.view.caption, p.view.setupTip),
            std::make_tuple("Vornel-> Tarnwell v1.0.2", "Text 181"));
  EXPECT_EQ(std::make_tuple(p.messages.shown.size(), p.form->Loading(), p.recordTimer.interval,
                            p.port.open, p.refreshTimer.Running(), p.motion.Running(),
                            p.form->Recording()),
            std::make_tuple(0u, false, 100, true, true, true, true));
  // The record timer's value is the latest: characters wait in the port for little.
  EXPECT_LE(p.port.maxWait, 10);
}

// The first frame from the port fills the trace through the program's own wiring. Without a
// recording only the display needs the characters, once per refresh. Suspending stops timers and
// port; a port gone meanwhile is told and the display stays stopped.
TEST(Mainform, FramesReachTheDisplayAndSuspendStopsTimersAndPort) {
  Program p;
  p.LoadPlain();
  EXPECT_EQ(p.port.maxWait, p.refreshTimer.interval);
  p.port.Receive("+0012.34\r\n");
  p.refreshTimer.Fire();
  EXPECT_EQ(p.form->Settings(p.processes).history.Slot(50), 12.34);

  p.recordTimer.interval = 100;
  const auto on = [&] {
    return std::vector{p.port.open, p.refreshTimer.enabled, p.recordTimer.enabled};
  };
  p.form->SetSuspended(true);
  EXPECT_EQ(on(), (std::vector{false, false, false}));
  p.form->SetSuspended(false);
  EXPECT_EQ(on(), (std::vector{true, true, true}));
  p.form->SetSuspended(true);
  p.port.ports.clear();
  p.form->SetSuspended(false);
  ASSERT_FALSE(p.messages.shown.empty());
  EXPECT_EQ(p.messages.shown.back().text, "Port error");
  EXPECT_FALSE(p.refreshTimer.enabled);
}

// The window's close saves the settings; the toolkit's quit that follows, with the window gone,
// saves nothing more.
TEST(Mainform, ShutdownSavesTheSettingsOnceAndStopsPortAndTimers) {
  Program p;
  p.LoadPlain();
  p.view.width = 9000;
  p.form->ShutDown();
  const std::string saved = p.files.files["/prog/config.ini"];
  EXPECT_EQ(SplitLines(saved).at(35), "9000' Window Width. Def:7290 ");
  EXPECT_EQ(std::vector({p.port.open, p.refreshTimer.enabled}), std::vector({false, false}));
  p.view.width = 8005;
  p.form->ShutDown();
  EXPECT_EQ(p.files.files["/prog/config.ini"], saved);
}

// A window that takes every size it is given, as a normal window does.
struct FakeWindow : ResizableWindow {
  double w = 0, h = 0;
  bool minimized = false;
  int resizes = 0;
  bool Minimized() const override { return minimized; }
  double Width() const override { return w; }
  double Height() const override { return h; }
  void SetWidth(double v) override { w = v, ++resizes; }
  void SetHeight(double v) override { h = v, ++resizes; }
};

// Each row: the window's size and state before, then laid out, the window's size and resize
// count, graph width and height, x axis top and width, value box left and top.
TEST(ResizeRules, GraphFillsTheRoomPanelStaysBottomRightAndTheMinimumHolds) {
  const std::vector<std::pair<std::vector<double>, std::vector<double>>> rows = {
      {{3674, 3674, 0}, {1, 8005, 3825, 2, 7630, 1700, 1850, 7630, 755, 1975}},
      {{9000, 3000, 0}, {1, 9000, 3825, 1, 8625, 1700, 1850, 8625, 1750, 1975}},
      {{8005, 3675, 0}, {1, 8005, 3675, 0, 7630, 1550, 1700, 7630, 755, 1825}},
      {{100, 100, 1},
       {0, 100, 100, 0, 6615, 3975, 45, 6925, -240, 4320}},  // minimised: nothing moves
  };
  for (const auto& [before, want] : rows) {
    FakeWindow win;
    win.w = before[0], win.h = before[1], win.minimized = before[2] != 0;
    MainLayout l;
    const bool ok = ResizeRules::Apply(win, l);
    EXPECT_EQ((std::vector<double>{double(ok), win.w, win.h, double(win.resizes), l.graphWidth,
                                   l.graphHeight, l.xaxisTop, l.xaxisWidth, l.weighBoxLeft,
                                   l.weighBoxTop}),
              want)
        << before[0] << "x" << before[1];
  }
}

}  // namespace
}  // namespace tarnwell::testing
