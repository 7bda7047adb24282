// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <tuple>

#include "FakeClock.h"
#include "FakeFileSystem.h"
#include "FakeMessageBox.h"
#include "FakeProcessStarter.h"
#include "FakeSerialPort.h"
#include "FakeTimer.h"
#include "FakeViews.h"
#include "TestFiles.h"
#include "app/Mainform.h"
#include "config/ConfigFile.h"

namespace tarnwell::testing {
namespace {

struct Program {
  FakeSerialPort port;
  FakeClock clock;
  FakeFileSystem files;
  FakeMessageBox messages;
  FakeTimer timer1, timerLog, motion;
  FakeMainView view;
  FakeProcessStarter processes;
  std::unique_ptr<Mainform> form = std::make_unique<Mainform>(
      Platform{port, clock, files, messages, Regional{}, timer1, timerLog, motion}, view,
      Version{1, 0, 2});

  // What the settings window sees of the running program.
  SettingsServices Seen() { return form->Settings(processes); }
  // No config.ini, no Turkish file (the default language): the standard file is read.
  void LoadPlain() {
    files.files["/prog/std.lng"] = LanguageFileText("Port error");
    ASSERT_TRUE(form->Form_Load());
  }
};

TEST(Mainform, StartUpGivesTextsBeforeTheSizeAndStartsPortTimersAndRecording) {
  Program p;
  // Recording allowed and started at start-up, English.
  p.files.files["/prog/config.ini"] =
      ConfigIniText({{15, "1"}, {32, "1"}, {19, "0"}, {11, "99.5"}});
  p.files.files["/prog/en.lng"] = LanguageFileText("Port error", "204");
  ASSERT_TRUE(p.form->Form_Load());
  EXPECT_TRUE(p.messages.shown.empty());
  EXPECT_FALSE(p.form->Loading());
  EXPECT_EQ(p.view.log, (std::vector<std::string>{"texts", "resize"}));
  EXPECT_EQ(std::tie(p.view.caption, p.view.charset, p.view.setupTip),
            std::make_tuple("Vornel-> Tarnwell v1.0.2", 204, "Text 181"));
  // 99.5 samples round to even; the start's own record line went to slot 0.
  EXPECT_EQ(
      std::make_tuple(p.Seen().history.UB(), p.Seen().history.SampleIndex(), p.timerLog.interval,
                      p.port.open, p.timer1.Running(), p.motion.Running(), p.form->Recording()),
      std::make_tuple(100, 1, 100, true, true, true, true));
  // A recorded line carries its frame's arrival time: characters wait in the port for little.
  EXPECT_LE(p.port.maxWait, 10);
}

TEST(Mainform, FallbacksAndShutdownSaveTheSettings) {
  Program p;
  p.LoadPlain();
  EXPECT_FALSE(p.form->Recording());
  // Without a recording only the display needs the characters, once per refresh.
  EXPECT_EQ(p.port.maxWait, p.timer1.interval);
  p.view.width = 9000;
  p.view.left = 300;
  p.form->Form_Unload();
  const auto lines = SplitLines(p.files.files["/prog/config.ini"]);
  ASSERT_EQ(lines.size(), 39u);
  // The language fell back to the standard file: 255.
  EXPECT_EQ(lines[18].substr(0, 4) + lines[33].substr(0, 4) + lines[35].substr(0, 5),
            "255'300'9000'");
  EXPECT_FALSE(p.timer1.enabled);

  Program q;  // without any language file the program ends before its window is shown
  EXPECT_FALSE(q.form->Form_Load());
  EXPECT_TRUE(q.view.closed);
}

TEST(Mainform, SuspendStopsTimersAndPortAndResumes) {
  Program p;
  p.LoadPlain();
  p.timerLog.interval = 100;
  const auto on = [&] { return std::vector{p.port.open, p.timer1.enabled, p.timerLog.enabled}; };
  p.form->App_Stop_Click(true);
  EXPECT_EQ(on(), (std::vector{false, false, false}));
  p.form->App_Stop_Click(false);
  EXPECT_EQ(on(), (std::vector{true, true, true}));
  // A port that has gone: its message, and the display stays suspended.
  p.form->App_Stop_Click(true);
  p.port.ports.clear();
  p.form->App_Stop_Click(false);
  ASSERT_FALSE(p.messages.shown.empty());
  EXPECT_EQ(p.messages.shown.back().text, "Port error");
  EXPECT_FALSE(p.timer1.enabled);
}

// One reading from the port to the display, through the program's own wiring: the first frame
// fills the trace and leaves the write position at 0, so the caption waits for the second.
TEST(Mainform, FramesReachTheDisplayOnTheNextTick) {
  Program p;
  p.LoadPlain();
  const std::string before = p.view.current;
  p.port.Receive("+0012.34\r\n-0001.5");
  p.timer1.Fire();
  EXPECT_EQ(p.Seen().history.Slot(50), 12.34);
  EXPECT_EQ(p.view.current, before);
  p.port.Receive("\r");
  p.timer1.Fire();
  EXPECT_EQ(p.view.current, "-1.5");
  EXPECT_GT(p.view.plots, 0);
}

}  // namespace
}  // namespace tarnwell::testing
