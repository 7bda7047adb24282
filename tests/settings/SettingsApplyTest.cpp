// SPDX-License-Identifier: GPL-3.0-or-later
#include "SettingsFixture.h"

namespace tarnwell::testing {
namespace {

using F = SettingsField;

class SettingsApplyTest : public SettingsFixture {
 protected:
  SettingsApplyTest() {
    config.CommPort = 1;
    config.NofSamples = 100;
    config.LogEnable = true;
    config.LogTime = 1;
  }
  // Opens the dialog, lets `edit` change it and presses Apply.
  template <typename Edit>
  void ApplyWith(Edit edit) {
    Load();
    std::vector<F> moves;
    form->SetFocusHandler([&](F f) { moves.push_back(f); });
    edit(*form);
    form->Apply_Click();
    focusMoves = moves;
  }
  std::vector<F> focusMoves;
};

TEST_F(SettingsApplyTest, PortOutsideZeroTo99StopsBeforeAnythingIsStored) {
  for (const char* port : {"100", "-1"}) {
    config = AppConfig{};
    config.NofSamples = 100;
    serial.open = true;
    messages.shown.clear();
    ApplyWith([&](SettingsForm& f) {
      f.SetText(F::CommSel, port);
      f.SetText(F::TxtMin, "abc");
      f.SetText(F::NofSamples, "300");
      f.SetBaudSel(0);
    });
    EXPECT_EQ(Shown(), Strings{"T4"}) << port;
    EXPECT_EQ(focusMoves, std::vector<F>{F::CommSel}) << port;
    EXPECT_FALSE(serial.open) << port;
    EXPECT_TRUE(config.CommPort.Equals(regional, 1)) << port;
    EXPECT_EQ(config.NofSamples, 100) << port;
    EXPECT_EQ(config.BaudIndex, "3") << port;
    EXPECT_EQ(writes, 0) << port;
  }
}

TEST_F(SettingsApplyTest, PortZeroLeavesThePortClosed) {
  ApplyWith([](SettingsForm& f) { f.SetText(F::CommSel, "0"); });
  EXPECT_TRUE(messages.shown.empty());
  EXPECT_EQ(config.CommPort.ToText(regional), "0");
  EXPECT_FALSE(serial.open);
  EXPECT_EQ(serial.opens, 0);
  EXPECT_EQ(serial.commPort, 1);
  EXPECT_EQ(Controls().LabCommSet, "T20");
  EXPECT_EQ(writes, 1);
}

TEST_F(SettingsApplyTest, PortIsClosedConfiguredAndReopened) {
  ApplyWith([](SettingsForm& f) {
    f.SetText(F::CommSel, "2.5");  // halves round to even
    f.SetBaudSel(7);
  });
  EXPECT_TRUE(messages.shown.empty());
  EXPECT_EQ(serial.commPort, 2);
  EXPECT_EQ(serial.settings, "115200,n,8,1");
  EXPECT_TRUE(serial.open);
  EXPECT_EQ(serial.opens, 1);
  EXPECT_EQ(config.CommPort.ToText(regional), "2.5");
  EXPECT_EQ(refreshes, 1);
}

TEST_F(SettingsApplyTest, PortTheSystemLacksFailsNamingTheReasonAndSavesWhatWasStored) {
  ApplyWith([](SettingsForm& f) {
    f.SetText(F::CommSel, "7");
    f.SetBaudSel(4);
    f.SetText(F::TxtMax, "55");
    f.SetText(F::NofSamples, "300");
    f.SetLogSet(0);
  });
  EXPECT_EQ(Shown(), Strings{"T5  8002:Invalid port number"});
  EXPECT_TRUE(config.CommPort.Equals(regional, 7));
  EXPECT_EQ(config.BaudIndex, "4");
  EXPECT_EQ(config.GraphMax, 55);
  EXPECT_EQ(config.NofSamples, 100);  // later steps are not done
  EXPECT_EQ(config.LogTime, 1);
  EXPECT_EQ(history.UB(), 100);
  EXPECT_EQ(refreshes, 0);
  EXPECT_EQ(writes, 1);
  EXPECT_FALSE(serial.open);
}

TEST_F(SettingsApplyTest, BadFieldsAreReportedInOrderAndKeepTheirValues) {
  config.GraphMin = 3;
  config.GraphMax = 900;
  config.LogVariation = 1;
  config.LogThreshold = 2;
  config.MotionTime = 4;
  ApplyWith([](SettingsForm& f) {
    f.SetText(F::TxtMin, "abc");
    f.SetText(F::TxtMax, "1e");
    f.SetText(F::TxtJump, "");
    f.SetText(F::TxtThreshold, "5 5");
    f.SetText(F::TxtMotionTmr, "x");
    f.SetText(F::NofSamples, "12abc");
    f.SetSelDatLogEnab(true);
    f.SetLogSet(1);
    f.SetText(F::TxtSecond, "30");
  });
  EXPECT_EQ(Shown(), (Strings{"T6", "T7", "T19", "T24", "T25", "T14"}));
  EXPECT_EQ(focusMoves, (std::vector<F>{F::TxtMin, F::TxtMax, F::TxtJump, F::TxtThreshold,
                                        F::TxtMotionTmr, F::NofSamples}));
  EXPECT_EQ(form->Focus(), F::NofSamples);
  EXPECT_TRUE(config.GraphMin.Equals(regional, 3));
  EXPECT_EQ(config.GraphMax, 900);
  EXPECT_EQ(lastValueResets, 0);
  EXPECT_EQ(config.MotionTime, 4);
  EXPECT_EQ(config.LogTime, 30);  // the steps after the bad fields still run
  EXPECT_EQ(refreshes, 1);
  EXPECT_EQ(writes, 1);
  EXPECT_TRUE(serial.open);
}

TEST_F(SettingsApplyTest, FixedRangeWithMinimumNotBelowMaximumIsStoredWithAMessage) {
  ApplyWith([](SettingsForm& f) {
    f.SetExpanded(false);
    f.SetText(F::TxtMin, "500");
    f.SetText(F::TxtMax, "100");
  });
  EXPECT_EQ(Shown(), Strings{"T15"});
  EXPECT_EQ(focusMoves, std::vector<F>{F::TxtMin});
  EXPECT_TRUE(config.GraphMin.Equals(regional, 500));
  EXPECT_EQ(config.GraphMax, 100);
  EXPECT_EQ(writes, 1);

  messages.shown.clear();
  ApplyWith([](SettingsForm& f) {
    f.SetExpanded(true);
    f.SetText(F::TxtMin, "500");
    f.SetText(F::TxtMax, "100");
  });
  EXPECT_TRUE(messages.shown.empty());
}

TEST_F(SettingsApplyTest, SampleCountMustLieStrictlyBetweenZeroAnd10000) {
  for (const char* bad : {"10000", "0"}) {
    messages.shown.clear();
    ApplyWith([&](SettingsForm& f) { f.SetText(F::NofSamples, bad); });
    EXPECT_EQ(Shown(), Strings{"T14"}) << bad;
    EXPECT_EQ(config.NofSamples, 100) << bad;
    EXPECT_EQ(history.UB(), 100) << bad;
  }
  messages.shown.clear();
  ApplyWith([](SettingsForm& f) { f.SetText(F::NofSamples, " 9999 "); });
  EXPECT_TRUE(messages.shown.empty());
  EXPECT_EQ(config.NofSamples, 9999);
  EXPECT_EQ(history.UB(), 9999);
}

TEST_F(SettingsApplyTest, GrowingHistoryContinuesTheTraceAndKeepsOlderReadings) {
  for (int i = 0; i <= 100; ++i) history.SetSlot(i, i);
  ApplyWith([](SettingsForm& f) { f.SetText(F::NofSamples, "150"); });
  EXPECT_EQ(history.UB(), 150);
  for (int i = 0; i <= 100; ++i) EXPECT_EQ(history.Slot(i), i);
  for (int i = 101; i <= 150; ++i) EXPECT_EQ(history.Slot(i), 100);

  history.SetSampleIndex(140);
  ApplyWith([](SettingsForm& f) { f.SetText(F::NofSamples, "50"); });
  EXPECT_EQ(history.UB(), 50);
  EXPECT_EQ(history.Slot(49), 49);
  EXPECT_LE(history.SampleIndex(), history.UB());
}

TEST_F(SettingsApplyTest, LanguageChoiceIsAnnouncedAndTakesEffectNextStart) {
  config.Language = 0;
  ApplyWith([](SettingsForm& f) { f.SetLangSel(1); });
  EXPECT_EQ(Shown(), Strings{"T23"});
  EXPECT_TRUE(config.Language.Equals(regional, 1));

  messages.shown.clear();
  ApplyWith([](SettingsForm& f) { f.SetLangSel(2); });
  EXPECT_EQ(Shown(), Strings{"T23"});
  EXPECT_TRUE(config.Language.Equals(regional, 0));
}

TEST_F(SettingsApplyTest, UntouchedListsKeepValuesTheyHaveNoEntryFor) {
  for (int language : {2, 255}) {
    config.Language = language;
    config.BaudIndex = "9";
    messages.shown.clear();
    ApplyWith([](SettingsForm&) {});
    EXPECT_TRUE(messages.shown.empty()) << language;
    EXPECT_TRUE(config.Language.Equals(regional, language)) << language;
    EXPECT_EQ(config.BaudIndex, "9");
    EXPECT_EQ(serial.settings, "460800,n,8,1");
  }
  config.BaudIndex = "x";
  ApplyWith([](SettingsForm&) {});
  EXPECT_EQ(config.BaudIndex, "x");
  EXPECT_EQ(serial.settings, "9600,n,8,1");
  ApplyWith([](SettingsForm& f) { f.SetLangSel(1); });
  EXPECT_TRUE(config.Language.Equals(regional, 1));
}

TEST_F(SettingsApplyTest, RecordTimingSetsLogTimeAndTheRecordTimer) {
  ApplyWith([](SettingsForm& f) {
    f.SetLogSet(2);
    f.SetText(F::TxtMinute, "5");
  });
  EXPECT_EQ(config.LogTime, 300);
  EXPECT_EQ(timerLog.interval, 100);

  ApplyWith([](SettingsForm& f) {
    f.SetLogSet(1);
    f.SetText(F::TxtSecond, "");
  });
  EXPECT_EQ(config.LogTime, 0);
  EXPECT_EQ(timerLog.interval, 100);

  ApplyWith([](SettingsForm& f) {
    f.SetLogSet(3);
    f.SetText(F::TxtMotionTmr, "4");
  });
  EXPECT_EQ(config.LogTime, 0);
  EXPECT_EQ(config.MotionTime, 4);
  EXPECT_EQ(timerLog.interval, 0);
}

TEST_F(SettingsApplyTest, SwitchesAndChoicesAreStored) {
  config.LastLogTime.clear();
  config.LogEnable = false;
  ApplyWith([](SettingsForm& f) {
    f.SetSelDatLogEnab(true);
    f.SetLogTypeSel(1);
    f.SetLogIncSel(false);
    f.SetOptPf(2);
    f.SetGrMode(false);
    f.SetMouseEvent(true);
    f.SetDevType(1);
    f.SetRecordOnStartup(true);
    f.SetText(F::TxtJump, "0.5");
    f.SetText(F::TxtThreshold, "-3");
  });
  EXPECT_TRUE(config.LogEnable);
  EXPECT_EQ(config.LastLogTime, "31/01/2024 15:45:02");
  EXPECT_EQ(config.LogFileType, 1);
  EXPECT_FALSE(config.LogIncremental);
  EXPECT_TRUE(config.Performance.Equals(regional, 2));
  EXPECT_TRUE(config.LineMode.Equals(regional, 1));
  EXPECT_TRUE(config.MouseEvent.Equals(regional, 1));
  EXPECT_EQ(config.OmitCh, 1);
  EXPECT_EQ(config.DevType, 1);
  EXPECT_TRUE(config.RecordOnStartup.Equals(regional, 1));
  EXPECT_EQ(config.LogVariation, 0.5);
  EXPECT_EQ(lastValueResets, 1);
  EXPECT_EQ(config.LogThreshold, -3);
}

TEST_F(SettingsApplyTest, RegionalCommaIsReadBackAsTyped) {
  regional.decimal = ',';
  config.GraphMax = 12.5;
  config.LogVariation = 0.25;
  config.Expanded = 0;
  ApplyWith([](SettingsForm&) {});
  EXPECT_EQ(Controls().TxtMax, "12,5");
  EXPECT_TRUE(messages.shown.empty());
  EXPECT_EQ(config.GraphMax, 12.5);
  EXPECT_EQ(config.LogVariation, 0.25);
}

TEST_F(SettingsApplyTest, FailedSaveIsReportedOnce) {
  writeWorks = false;
  ApplyWith([](SettingsForm&) {});
  EXPECT_EQ(Shown(), Strings{"T5"});
  EXPECT_EQ(writes, 1);
  EXPECT_EQ(refreshes, 1);
}

}  // namespace
}  // namespace tarnwell::testing
