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

TEST_F(SettingsLoad, IntervalEncodingChoosesOptionAndBox) {
  config.LogEnable = true;
  config.LogTime = 120;
  Load();
  EXPECT_EQ(Controls().LogSet, 2);
  EXPECT_EQ(Controls().TxtMinute, "2");
  EXPECT_EQ(Controls().TxtSecond, "1");
  EXPECT_TRUE(Controls().enabled.TxtMinute);
  EXPECT_FALSE(Controls().enabled.TxtSecond);

  config.LogTime = 0;
  config.MotionTime = 5;
  Load();
  EXPECT_EQ(Controls().LogSet, 3);
  EXPECT_EQ(Controls().TxtMotionTmr, "5");
  EXPECT_TRUE(Controls().enabled.TxtMotionTmr);

  config.LogTime = 59.6;  // rounds to 60 for the test, shown unrounded over 60
  Load();
  EXPECT_EQ(Controls().LogSet, 2);
  EXPECT_EQ(Controls().TxtMinute, "0.993333333333333");
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
  EXPECT_EQ(c.CommSel, "2");
  EXPECT_EQ(c.TxtMin, "-5");
  EXPECT_EQ(c.TxtMax, "0.5");
  EXPECT_EQ(c.TxtThreshold, "-100000");
  EXPECT_FALSE(c.GrMode);  // the tick means scrolling, LineMode 0
  EXPECT_TRUE(c.MouseEvent && c.RecordOnStartup && c.LogIncSel);
  EXPECT_EQ(c.LogTypeSel, 1);
  EXPECT_TRUE(c.enabled.TxtMin && c.enabled.TxtMax && c.enabled.LabMin && c.enabled.LabMax);
  config.LineMode = 0;
  EXPECT_TRUE(Load().Controls().GrMode);
}

TEST_F(SettingsLoad, ResetsPerformanceAndDeviceTypeBeyondTheirLists) {
  config.Performance = 3;
  config.DevType = 2;
  Load();
  EXPECT_EQ(Controls().OptPf, 1);
  EXPECT_EQ(Controls().DevType, 0);
  form.reset();  // closed with Exit: the resets stay
  EXPECT_TRUE(config.Performance.Equals(regional, 1));
  EXPECT_EQ(config.DevType, 0);
  EXPECT_EQ(writes, 0);
}

TEST_F(SettingsLoad, ValuesWithoutListEntryShowWithoutFailing) {
  config.BaudIndex = "10";
  config.Language = 4;
  Load();
  EXPECT_EQ(Controls().BaudSel, 10);
  EXPECT_EQ(SettingsForm::BaudEntries()[10], "921600");
  EXPECT_EQ(Controls().LangSel, -1);

  config.BaudIndex = "abc";
  Load();
  EXPECT_EQ(Controls().BaudSel, -1);
  EXPECT_EQ(Controls().LabCommSet, "Comm1, 9600,8b,n,1s");
}

TEST_F(SettingsLoad, ReopeningLoadsImmediateChanges) {
  config.LogEnable = true;
  config.Expanded = 0;
  Load().SetSelDatLogEnab(false);
  form->SetExpanded(true);
  form->SetText(F::TxtMax, "77");
  Load();
  EXPECT_FALSE(Controls().SelDatLogEnab);
  EXPECT_TRUE(Controls().Expanded);
  EXPECT_EQ(Controls().TxtMax, "1000");
}

using SettingsRules = SettingsFixture;

TEST_F(SettingsRules, RecordSwitchActsAtOnceAndSetsEnabledStates) {
  config.LogEnable = true;
  config.LogTime = 5;
  Load();
  const auto& e = Controls().enabled;
  EXPECT_TRUE(e.TxtSecond);
  EXPECT_FALSE(e.TxtMinute);

  form->SetSelDatLogEnab(false);
  EXPECT_FALSE(config.LogEnable);
  for (bool b : e.LogSet) EXPECT_FALSE(b);
  for (bool b : e.LogTypeSel) EXPECT_FALSE(b);
  EXPECT_FALSE(e.TxtSecond || e.TxtMinute || e.TxtMotionTmr || e.LogIncSel || e.FrameFile ||
               e.TxtJump || e.TxtThreshold || e.LabStabTime || e.LabJump || e.LabThreshold);
  form->SetLogSet(3);
  EXPECT_FALSE(e.TxtMotionTmr);
  EXPECT_EQ(writes, 0);

  form->SetSelDatLogEnab(true);
  EXPECT_TRUE(config.LogEnable);
  EXPECT_TRUE(e.TxtMotionTmr);  // LogSet(3) was the last choice
  form->SetText(SettingsField::TxtMotionTmr, "7");
  form->SetLogSet(0);
  EXPECT_EQ(Controls().TxtMotionTmr, "0");
  EXPECT_FALSE(e.TxtMotionTmr);
  form->SetLogSet(3);
  EXPECT_FALSE(e.TxtSecond);
  EXPECT_TRUE(e.FrameFile && e.LogIncSel && e.LabJump && e.LogSet[0] && e.LogTypeSel[1]);
}

TEST_F(SettingsRules, AutoRangeAndAdvancedModeSwitchAtOnce) {
  config.Expanded = 0;
  Load().SetExpanded(true);
  EXPECT_TRUE(config.Expanded.Equals(regional, 1));
  const auto& e = Controls().enabled;
  EXPECT_FALSE(e.LabMin || e.LabMax || e.TxtMin || e.TxtMax);
  form->SetExpanded(false);
  EXPECT_TRUE(config.Expanded.Equals(regional, 0));
  EXPECT_TRUE(e.LabMin && e.LabMax && e.TxtMin && e.TxtMax);

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
  EXPECT_TRUE(c.CommSel == "1" && c.BaudSel == 3 && c.NofSamples == "250" && c.TxtMax == "1000");
  EXPECT_TRUE(c.GrMode && c.Expanded && !c.SelDatLogEnab && c.LogSet == 0 && c.RecordOnStartup);
  EXPECT_TRUE(c.TxtThreshold == "-100000" && c.TxtMotionTmr == "0" && c.OptPf == 1);
  EXPECT_EQ(c.LabCommSet, "Comm1, 9600,8b,n,1s");
  EXPECT_FALSE(c.enabled.TxtMin || c.enabled.FrameFile || c.enabled.TxtMotionTmr);

  form.reset();  // Exit
  EXPECT_TRUE(config.Expanded.Equals(regional, 1));
  EXPECT_FALSE(config.LogEnable);
  EXPECT_EQ(config.LogTime, before.LogTime);
  EXPECT_EQ(writes, 0);
  EXPECT_TRUE(messages.shown.empty());
}

TEST_F(SettingsRules, RecordFolderOpensInTheFileBrowser) {
  Load().Command2_Click();
  EXPECT_TRUE(files.FolderExists("/prog/Log"));
  ASSERT_EQ(processes.started.size(), 1u);
  const auto& started = processes.started[0];
#ifdef _WIN32
  EXPECT_EQ(started.program, "explorer.exe");
  EXPECT_EQ(started.arguments, (Strings{"/e,", "/prog/Log"}));
#else
  EXPECT_EQ(started.program, "xdg-open");
  EXPECT_EQ(started.arguments, Strings{"/prog/Log"});
#endif
  EXPECT_TRUE(messages.shown.empty());

  processes.fails = true;
  form->Command2_Click();
  EXPECT_EQ(Shown(), Strings{"T94"});
}

TEST_F(SettingsRules, RecordFolderThatCannotBeMadeIsReported) {
  files.folder = "/ro";
  files.readOnly = true;
  Load().Command2_Click();
  EXPECT_EQ(Shown(), Strings{"T92"});
}

}  // namespace
}  // namespace tarnwell::testing
