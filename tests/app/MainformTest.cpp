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
#include "config/ConfigFile.h"

namespace tarnwell {
namespace {

using testing::ConfigIniText;
using testing::FakeClock;
using testing::FakeFileSystem;
using testing::FakeMainView;
using testing::FakeMessageBox;
using testing::FakeProcessStarter;
using testing::FakeSerialPort;
using testing::FakeTimer;
using testing::LanguageFileText;

struct Program {
  FakeSerialPort port;
  FakeClock clock;
  FakeFileSystem files;
  FakeMessageBox messages;
  FakeTimer timer1, timerLog, motion;
  FakeMainView view;
  FakeProcessStarter processes;
  std::unique_ptr<Mainform> form;

  // What the settings window sees of the running program.
  SettingsServices Seen() { return form->Settings(processes); }

  Program() { Make(); }
  void Make() {
    form = std::make_unique<Mainform>(
        Platform{port, clock, files, messages, Regional{}, timer1, timerLog, motion}, view,
        Version{1, 0, 2});
  }
};

TEST(Mainform, StartUpRunsInOrderAndStartsRecording) {
  Program p;
  // Recording allowed and started at start-up, English.
  p.files.files["/prog/config.ini"] =
      ConfigIniText({{15, "1"}, {32, "1"}, {19, "0"}, {11, "99.5"}});
  p.files.files["/prog/en.lng"] = LanguageFileText("Port error", "204");

  ASSERT_TRUE(p.form->Form_Load());
  EXPECT_TRUE(p.messages.shown.empty());
  EXPECT_FALSE(p.form->Loading());
  EXPECT_EQ(p.view.caption, "Vornel-> Tarnwell v1.0.2");
  EXPECT_EQ(p.view.charset, 204);
  EXPECT_EQ(p.view.setupTip, "Text 181");
  // Texts are given before the window is sized.
  ASSERT_EQ(p.view.log.size(), 2u);
  EXPECT_EQ(p.view.log[0], "texts");
  EXPECT_EQ(p.view.log[1], "resize");
  EXPECT_TRUE(p.port.open);
  EXPECT_EQ(p.port.settings, "9600,n,8,1");
  EXPECT_EQ(p.Seen().history.UB(), 100);         // 99.5 rounds to even
  EXPECT_EQ(p.Seen().history.SampleIndex(), 1);  // the start's own line went to slot 0
  EXPECT_EQ(p.timerLog.interval, 100);
  EXPECT_TRUE(p.timer1.Running() && p.motion.Running());
  EXPECT_EQ(p.Seen().config.WindowWidth.NumberOr(Regional{}, 0), 8005);

  // Recording runs, and the start's own line holds the caption "0" as its value.
  EXPECT_TRUE(p.form->Recording());
  // A recorded line carries its frame's arrival time: characters wait in the port for little.
  EXPECT_LE(p.port.maxWait, 10);
  const std::string name = p.Seen().config.LogFileName;
  ASSERT_TRUE(p.files.FolderExists("/prog/Log"));
  const std::string record = p.files.files["/prog/Log/" + name];
  EXPECT_EQ(record.substr(0, 4), "1\t0\t");
  EXPECT_EQ(p.view.current, "0");
}

// The messages of the fallbacks are the config and language files' own; here what shutdown saves.
TEST(Mainform, FallbacksAndShutdownSaveTheSettings) {
  Program p;
  // No config.ini, no Turkish file (the default language): the standard file is read and the
  // language setting becomes 255.
  p.files.files["/prog/std.lng"] = LanguageFileText("Port error");
  ASSERT_TRUE(p.form->Form_Load());
  EXPECT_EQ(p.messages.shown.size(), 2u);
  EXPECT_FALSE(p.form->Recording());
  // Without a recording only the display needs them, once per refresh.
  EXPECT_EQ(p.port.maxWait, p.timer1.interval);

  p.view.width = 9000;
  p.view.left = 300;
  p.form->Form_Unload();
  const auto lines = SplitLines(p.files.files["/prog/config.ini"]);
  ASSERT_EQ(lines.size(), 39u);
  EXPECT_EQ(lines[18].substr(0, 4), "255'");
  EXPECT_EQ(lines[33].substr(0, 4), "300'");
  EXPECT_EQ(lines[35].substr(0, 5), "9000'");
  EXPECT_FALSE(p.timer1.enabled);

  Program q;  // without any language file the program ends before its window is shown
  EXPECT_FALSE(q.form->Form_Load());
  EXPECT_TRUE(q.view.closed);
}

TEST(Mainform, SuspendStopsTimersAndPortAndResumes) {
  Program p;
  p.files.files["/prog/std.lng"] = LanguageFileText("Port error");
  ASSERT_TRUE(p.form->Form_Load());
  p.timerLog.interval = 100;
  ASSERT_TRUE(p.port.open);

  p.form->App_Stop_Click(true);
  EXPECT_FALSE(p.port.open);
  EXPECT_FALSE(p.timer1.enabled);
  EXPECT_FALSE(p.timerLog.enabled);
  p.port.Receive("+1.00\r");  // nothing arrives from a closed port in reality; the tick is off
  p.form->App_Stop_Click(false);
  EXPECT_TRUE(p.port.open);
  EXPECT_TRUE(p.timer1.enabled);
  EXPECT_TRUE(p.timerLog.enabled);

  // A port that has gone: text 5, and the display stays suspended.
  p.form->App_Stop_Click(true);
  p.port.ports.clear();
  p.form->App_Stop_Click(false);
  ASSERT_FALSE(p.messages.shown.empty());
  EXPECT_EQ(p.messages.shown.back().text, "Port error");
  EXPECT_FALSE(p.timer1.enabled);
}

// One reading from the port to the display, through the program's own wiring.
TEST(Mainform, FramesReachTheDisplayOnTheNextTick) {
  Program p;
  p.files.files["/prog/std.lng"] = LanguageFileText("Port error");
  ASSERT_TRUE(p.form->Form_Load());
  p.port.Receive("+0012.");
  p.timer1.Fire();
  EXPECT_EQ(p.view.color, kStaleColor);
  // The first frame fills the trace and leaves the write position at 0, so the caption waits
  // for the second.
  const std::string before = p.view.current;
  p.port.Receive("34\r\n-0001.5");
  p.timer1.Fire();
  EXPECT_EQ(p.Seen().history.Slot(50), 12.34);
  EXPECT_EQ(p.view.current, before);
  EXPECT_EQ(p.view.color, kAliveColor);
  p.port.Receive("\r");
  p.timer1.Fire();
  EXPECT_EQ(p.view.current, "-1.5");
  EXPECT_EQ(p.view.rangeCaption, "+/- 6.9");
  p.clock.Advance(1000);
  p.port.Receive("");
  p.timer1.Fire();
  EXPECT_EQ(p.view.nofDat, "2/s");
  EXPECT_GT(p.view.plots, 0);
}

}  // namespace
}  // namespace tarnwell
