// SPDX-License-Identifier: GPL-3.0-or-later
#include "SettingsFixture.h"
#include "settings/LeadingNumber.h"

namespace tarnwell::testing {
namespace {

using F = SettingsField;

TEST(LeadingNumber, ReadsTheNumberAtTheStartOnly) {
  const Regional dot;
  EXPECT_EQ(LeadingNumber("12abc", dot), 12);
  EXPECT_EQ(LeadingNumber("abc", dot), 0);
  EXPECT_EQ(LeadingNumber("  03", dot), 3);
  EXPECT_EQ(LeadingNumber("1 2", dot), 1);  // a blank inside ends the number
  EXPECT_EQ(LeadingNumber("-2.5e2x", dot), -250);
  EXPECT_EQ(LeadingNumber("&H10", dot), 0);
  const Regional comma{',', '.'};
  EXPECT_EQ(LeadingNumber("0,5", comma), 0.5);
  EXPECT_EQ(LeadingNumber("1.5", comma), 1.5);
}

using SettingsLoad = SettingsFixture;

// Shown: LogSet, TxtSecond, TxtMinute, TxtMotionTmr.
TEST_F(SettingsLoad, IntervalEncodingChoosesOptionAndBox) {
  config.LogEnable = true;
  config.LogTime = 120;
  const auto shown = [&] {
    Load();
    return Texts(Controls().LogSet, Controls().TxtSecond, Controls().TxtMinute,
                 Controls().TxtMotionTmr);
  };
  EXPECT_EQ(shown(), "2 1 2 0");
  EXPECT_EQ(Enabled(), "1111 010 111111111 0000");
  config.LogTime = 0;
  config.MotionTime = 5;
  EXPECT_EQ(shown(), "3 1 1 5");
  EXPECT_EQ(Enabled(), "1111 001 111111111 0000");
  config.LogTime = 59.6;  // rounds to 60 for the test, shown unrounded over 60
  EXPECT_EQ(shown(), "2 1 0.993333333333333 5");
}

TEST_F(SettingsLoad, FieldsShowTheirValues) {
  config.CommPort = Value::Text("2");
  config.GraphMin = Value::Text("-5");
  config.GraphMax = 0.5;
  config.LineMode = 1;
  config.MouseEvent = 1;
  config.RecordOnStartup = 1;
  config.LogFileType = 1;
  config.Expanded = 0;
  Load();
  const auto& c = Controls();
  // The tick of GrMode means scrolling, LineMode 0.
  EXPECT_EQ(Texts(c.CommSel, c.TxtMin, c.TxtMax, c.TxtThreshold, c.GrMode, c.MouseEvent,
                  c.RecordOnStartup, c.LogIncSel, c.LogTypeSel),
            "2 -5 0.5 -100000 off on on on 1");
  EXPECT_EQ(Enabled(), "0000 000 000000000 1111");
  config.LineMode = 0;
  EXPECT_TRUE(Load().Controls().GrMode);
}

// Lists show no choice for what they lack, except the two reset to their first entry, which
// stays when the dialog is closed without Apply.
TEST_F(SettingsLoad, ValuesBeyondTheListsShowWithoutFailing) {
  config.Performance = 3;
  config.DevType = 2;
  config.BaudIndex = "10";
  config.Language = 4;
  Load();
  // OptPf, DevType, BaudSel and the speed it shows, LangSel.
  EXPECT_EQ(Texts(Controls().OptPf, Controls().DevType, Controls().BaudSel, Controls().LabCommSet,
                  Controls().LangSel),
            "1 0 10 Comm1, 921600,8b,n,1s -1");
  form.reset();
  EXPECT_EQ(Texts(config.Performance, config.DevType, writes), "1 0 0");

  config.BaudIndex = "abc";
  Load();
  EXPECT_EQ(Texts(Controls().BaudSel, Controls().LabCommSet), "-1 Comm1, 9600,8b,n,1s");
}

using SettingsRules = SettingsFixture;

// The record tick, the automatic range and the advanced mode act without Apply.
TEST_F(SettingsRules, SwitchesActAtOnceAndSetWhatIsEnabled) {
  config.LogEnable = true;
  config.LogTime = 5;
  config.Expanded = 0;
  Load();
  EXPECT_EQ(Enabled(), "1111 100 111111111 1111");
  form->SetSelDatLogEnab(false);
  EXPECT_FALSE(config.LogEnable);
  EXPECT_EQ(Enabled(), "0000 000 000000000 1111");
  form->SetLogSet(3);  // no box while recording is off
  EXPECT_EQ(Enabled(), "0000 000 000000000 1111");
  form->SetSelDatLogEnab(true);
  EXPECT_TRUE(config.LogEnable);
  EXPECT_EQ(Enabled(), "1111 001 111111111 1111");  // the last choice's box
  form->SetText(F::TxtMotionTmr, "7");
  form->SetLogSet(0);
  EXPECT_EQ(Controls().TxtMotionTmr, "0");
  EXPECT_EQ(Enabled(), "1111 000 111111111 1111");

  form->SetExpanded(true);
  EXPECT_TRUE(config.Expanded.Equals(regional, 1));
  EXPECT_EQ(Enabled(), "1111 000 111111111 0000");
  form->SetExpanded(false);
  EXPECT_TRUE(config.Expanded.Equals(regional, 0));
  EXPECT_EQ(Enabled(), "1111 000 111111111 1111");

  form->Label2_DblClick();
  EXPECT_TRUE(config.AdvancedMode);
  form->Label2_DblClick();
  EXPECT_FALSE(config.AdvancedMode);
  EXPECT_EQ(writes, 0);
}

TEST_F(SettingsRules, PortPreviewTakesItsPartsFromDifferentPlaces) {
  config.CommPort = 1;
  Load();
  EXPECT_EQ(Controls().LabCommSet, "Comm1, 9600,8b,n,1s");  // the speed list settles last
  form->SetText(F::CommSel, "03");
  EXPECT_EQ(Controls().LabCommSet, "Comm3,9600,8b,n,1s");
  form->SetBaudSel(4);
  EXPECT_EQ(Controls().LabCommSet, "Comm1, 19200,8b,n,1s");  // stored port, chosen speed
  form->SetBaudSel(11);                                      // beyond the list: the stored speed
  EXPECT_EQ(Controls().LabCommSet, "Comm1, 9600,8b,n,1s");
  form->SetText(F::CommSel, "5x");
  EXPECT_EQ(Controls().LabCommSet, "Comm5,9600,8b,n,1s");  // typed port, stored speed
  for (const char* none : {"", "0", "abc"}) {
    form->SetText(F::CommSel, none);
    EXPECT_EQ(Controls().LabCommSet, "T20") << '"' << none << '"';
    form->SetBaudSel(2);
    EXPECT_EQ(Controls().LabCommSet, "T20") << '"' << none << '"';
  }

  config.BaudIndex = "9";
  Load().SetText(F::CommSel, "2");
  EXPECT_EQ(Controls().LabCommSet, "Comm2,460800,8b,n,1s");
}

TEST_F(SettingsRules, DefaultsFillTheControlsAndStoreOnlyTheImmediateSwitches) {
  config.LogEnable = true;
  config.Expanded = 0;
  config.LogTime = 120;
  config.MotionTime = 3;
  config.RecordOnStartup = 1;
  config.Language = 0;
  Load();
  const AppConfig before = config;
  form->Command1_Click();
  const auto& c = Controls();
  EXPECT_EQ(
      Texts(c.CommSel, c.BaudSel, c.NofSamples, c.TxtMax, c.GrMode, c.Expanded, c.SelDatLogEnab,
            c.LogSet, c.RecordOnStartup, c.TxtThreshold, c.TxtMotionTmr, c.OptPf, c.LabCommSet),
      "1 3 250 1000 on on off 0 on -100000 0 1 Comm1, 9600,8b,n,1s");
  EXPECT_EQ(Enabled(), "0000 000 000000000 0000");
  form.reset();  // Exit
  EXPECT_TRUE(config.Expanded.Equals(regional, 1));
  EXPECT_FALSE(config.LogEnable);
  EXPECT_EQ(config.LogTime, before.LogTime);
  EXPECT_EQ(writes, 0);
  EXPECT_TRUE(messages.shown.empty());
}

TEST_F(SettingsRules, RecordFolderOpensInTheFileBrowserOrIsReported) {
  Load().Command2_Click();
  EXPECT_TRUE(files.FolderExists("/prog/Log"));
  ASSERT_EQ(processes.started.size(), 1u);
#ifdef _WIN32
  EXPECT_EQ(processes.started[0].program, "explorer.exe");
  EXPECT_EQ(processes.started[0].arguments, (Strings{"/e,", "/prog/Log"}));
#else
  EXPECT_EQ(processes.started[0].program, "xdg-open");
  EXPECT_EQ(processes.started[0].arguments, Strings{"/prog/Log"});
#endif
  processes.fails = true;
  form->Command2_Click();
  EXPECT_EQ(Shown(), Strings{"T94"});

  files.folder = "/ro";
  files.readOnly = true;
  form->Command2_Click();
  EXPECT_EQ(Shown(), (Strings{"T94", "T92"}));
}

}  // namespace
}  // namespace tarnwell::testing
