// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include "FakeClock.h"
#include "FakeFileSystem.h"
#include "FakeMainView.h"
#include "FakeMessageBox.h"
#include "FakeProcessStarter.h"
#include "FakeSerialPort.h"
#include "FakeTimer.h"
#include "app/Mainform.h"
#include "config/ConfigFile.h"

namespace tarnwell {
namespace {

using testing::FakeClock;
using testing::FakeFileSystem;
using testing::FakeMainView;
using testing::FakeMessageBox;
using testing::FakeProcessStarter;
using testing::FakeSerialPort;
using testing::FakeTimer;

// A language file of 200 lines: text 1 the charset, text 5 the port message, 181 a tool tip.
std::string LanguageFile(const std::string& charset) {
  std::string f;
  for (int i = 0; i < 200; ++i) {
    std::string t;
    if (i == 1) t = charset;
    if (i == 5) t = "Port error";
    if (i == 181) t = "Settings";
    f += "\"" + t + "\"\r\n";
  }
  return f;
}

// config.ini as a user would leave it: the defaults with a few lines changed.
std::string ConfigWith(int line, const std::string& value, std::string base = {}) {
  auto lines = SplitLines(base);
  lines[static_cast<std::size_t>(line - 1)] =
      value + lines[static_cast<std::size_t>(line - 1)].substr(
                  lines[static_cast<std::size_t>(line - 1)].find('\'', 1));
  std::string out;
  for (const auto& l : lines) out += l + "\r\n";
  return out;
}

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
  // The defaults as a fresh program writes them.
  std::string DefaultConfig() {
    Program fresh;
    fresh.files.files["/prog/std.lng"] = LanguageFile("0");
    fresh.form->Form_Load();
    return fresh.files.files["/prog/config.ini"];
  }
};

TEST(Mainform, StartUpRunsInOrderAndStartsRecording) {
  Program p;
  std::string ini = p.DefaultConfig();
  ini = ConfigWith(15, "1", ini);  // recording allowed
  ini = ConfigWith(32, "1", ini);  // ... and started at start-up
  ini = ConfigWith(19, "0", ini);  // English
  ini = ConfigWith(11, "99.5", ini);
  p.files.files["/prog/config.ini"] = ini;
  p.files.files["/prog/en.lng"] = LanguageFile("204");

  ASSERT_TRUE(p.form->Form_Load());
  EXPECT_TRUE(p.messages.shown.empty());
  EXPECT_FALSE(p.form->Loading());
  EXPECT_EQ(p.view.caption, "Vornel-> Tarnwell v1.0.2");
  EXPECT_EQ(p.view.charset, 204);
  EXPECT_EQ(p.view.setupTip, "Settings");
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

TEST(Mainform, FallbacksAndShutdownSaveTheSettings) {
  Program p;
  // No config.ini, no Turkish file (the default language): both messages, then the standard
  // file; the language setting becomes 255 and reaches the file at shutdown.
  p.files.files["/prog/std.lng"] = LanguageFile("0");
  ASSERT_TRUE(p.form->Form_Load());
  ASSERT_EQ(p.messages.shown.size(), 2u);
  EXPECT_EQ(p.messages.shown[0].text,
            "Can not open /prog/config.ini file. The configuration file renewed.");
  EXPECT_EQ(p.messages.shown[1].text,
            "Can not find the Turkish Language file, or the file is corrupted!");
  EXPECT_FALSE(p.form->Recording());
  // Without a recording only the display needs them, once per refresh at the fastest.
  EXPECT_GE(p.port.maxWait, 20);
  EXPECT_LE(p.port.maxWait, 50);

  p.view.width = 9000;
  p.view.left = 300;
  p.form->Form_Unload();
  const auto lines = SplitLines(p.files.files["/prog/config.ini"]);
  ASSERT_EQ(lines.size(), 39u);
  EXPECT_EQ(lines[18].substr(0, 4), "255'");
  EXPECT_EQ(lines[33].substr(0, 4), "300'");
  EXPECT_EQ(lines[35].substr(0, 5), "9000'");
  EXPECT_FALSE(p.timer1.enabled);

  // Without any language file the program ends before its window is shown.
  Program q;
  EXPECT_FALSE(q.form->Form_Load());
  EXPECT_TRUE(q.view.closed);
}

TEST(Mainform, SuspendStopsTimersAndPortAndResumes) {
  Program p;
  p.files.files["/prog/std.lng"] = LanguageFile("0");
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

TEST(Mainform, FramesReachTheDisplayOnTheNextTick) {
  Program p;
  p.files.files["/prog/std.lng"] = LanguageFile("0");
  ASSERT_TRUE(p.form->Form_Load());
  p.port.Receive("+0012.34\r+0012.35\r");
  // The first frame fills the trace with its value.
  EXPECT_EQ(p.Seen().history.Slot(50), 12.34);
  p.timer1.Fire();
  EXPECT_EQ(p.view.current, "12.35");
  EXPECT_EQ(p.view.currentColor, (Rgb{255, 128, 0}));
  EXPECT_GT(p.view.plots, 0);
}

}  // namespace
}  // namespace tarnwell
