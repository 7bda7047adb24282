// SPDX-License-Identifier: GPL-3.0-or-later
#include <string>

#include "SettingsFixture.h"

namespace tarnwell::testing {
namespace {

using F = SettingsField;

// Port 1 open, 100 samples, a record line every second.
struct ApplySession : SettingsSession {
  ApplySession() {
    config.CommPort = 1;
    config.NofSamples = 100;
    config.LogEnable = true;
    config.LogTime = 1;
  }
};

class SettingsApplyTest : public ::testing::Test, public ApplySession {};

// A port outside 0-99 stops Apply before anything is stored; 0 leaves the port closed; a port
// the system lacks is told and what was stored before it is saved, the later steps not done.
TEST_F(SettingsApplyTest, PortIsCheckedClosedConfiguredAndReopened) {
  // After: CommPort; the port open, its number, openings and settings; writes, refreshes;
  // BaudIndex, GraphMax; then, after the port, NofSamples, the history's top and LogTime.
  const struct {
    const char* port;
    int baud;
    Strings shown;
    const char* after;
  } cases[] = {
      {"100", 0, {"T4"}, "1 off 1 0 9600,n,8,1 0 0 3 1000 100 100 1"},
      {"-1", 0, {"T4"}, "1 off 1 0 9600,n,8,1 0 0 3 1000 100 100 1"},
      {"0", 3, {}, "0 off 1 0 9600,n,8,1 1 1 3 55 300 300 0"},
      {"2.5", 7, {}, "2.5 on 2 1 115200,n,8,1 1 1 7 55 300 300 0"},  // halves round to even
      {"7", 4, {"T5  8002:Invalid port number"}, "7 off 7 0 19200,n,8,1 1 0 4 55 100 100 1"},
  };
  for (const auto& c : cases) {
    const bool refused = c.shown == Strings{"T4"};
    ApplySession t;
    t.ApplyWith([&](SettingsForm& f) {
      if (refused) f.SetText(F::TxtMin, "abc");
      f.SetText(F::CommSel, c.port);
      f.SetBaudSel(c.baud);
      f.SetText(F::TxtMax, "55");
      f.SetText(F::NofSamples, "300");
      f.SetLogSet(0);
    });
    SCOPED_TRACE(c.port);
    EXPECT_EQ(t.Shown(), c.shown);
    EXPECT_EQ(t.Texts(t.config.CommPort, t.serial.open, t.serial.commPort, t.serial.opens,
                      t.serial.settings, t.writes, t.refreshes, t.config.BaudIndex,
                      t.config.GraphMax, t.config.NofSamples, t.history.UB(), t.config.LogTime),
              c.after);
    EXPECT_EQ(t.focusMoves, refused ? std::vector<F>{F::CommSel} : std::vector<F>{});
    if (c.port == std::string("0")) {
      EXPECT_EQ(t.Controls().LabCommSet, "T20");  // no port
    }
  }
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
  // The bad fields keep their settings; the steps after them still run.
  EXPECT_EQ(Texts(config.GraphMin, config.GraphMax, lastValueResets, config.MotionTime,
                  config.LogTime, refreshes, writes, serial.open),
            "3 900 0 4 30 1 1 on");
}

// A fixed range needs its minimum below its maximum; it is stored all the same, with a message.
TEST_F(SettingsApplyTest, FixedRangeWithMinimumNotBelowMaximumIsStoredWithAMessage) {
  const struct {
    bool automatic;
    const char* min;
    Strings shown;
  } cases[] = {{false, "500", {"T15"}}, {false, "100", {"T15"}}, {true, "500", {}}};
  for (const auto& c : cases) {
    ApplySession t;
    t.ApplyWith([&](SettingsForm& f) {
      f.SetExpanded(c.automatic);
      f.SetText(F::TxtMin, c.min);
      f.SetText(F::TxtMax, "100");
    });
    SCOPED_TRACE(c.min);
    EXPECT_EQ(t.Shown(), c.shown);
    EXPECT_EQ(t.focusMoves, c.shown.empty() ? std::vector<F>{} : std::vector<F>{F::TxtMin});
    EXPECT_TRUE(t.config.GraphMin.Equals(t.regional, std::stod(c.min)));
    EXPECT_EQ(t.config.GraphMax, 100);
    EXPECT_EQ(t.writes, 1);
  }
}

TEST_F(SettingsApplyTest, NewSampleCountContinuesTheTraceAndKeepsTheWritePositionInside) {
  for (int i = 0; i <= 100; ++i) history.SetSlot(i, i);
  ApplyWith([](SettingsForm& f) { f.SetText(F::NofSamples, "150"); });
  // The slots above the old top take its value.
  EXPECT_EQ(
      (std::vector{history.Slot(99), history.Slot(100), history.Slot(101), history.Slot(150)}),
      (std::vector<double>{99, 100, 100, 100}));
  history.SetSampleIndex(140);
  ApplyWith([](SettingsForm& f) { f.SetText(F::NofSamples, "50"); });
  EXPECT_EQ(history.SampleIndex(), 0);
}

// A language chosen is announced and takes effect at the next start; an untouched list keeps a
// value it has no entry for.
TEST_F(SettingsApplyTest, LanguageAndSpeedListsStoreTheChoiceOrKeepWhatTheyLack) {
  const struct {
    int language;
    const char* baud;
    int choose;  // -1: the language list is not touched
    Strings shown;
    int stored;
    const char* settings;
  } cases[] = {
      {0, "3", 1, {"T23"}, 1, "9600,n,8,1"}, {0, "3", 2, {"T23"}, 0, "9600,n,8,1"},
      {2, "9", -1, {}, 2, "460800,n,8,1"},   {255, "9", -1, {}, 255, "460800,n,8,1"},
      {255, "x", -1, {}, 255, "9600,n,8,1"}, {255, "x", 1, {"T23"}, 1, "9600,n,8,1"},
  };
  for (const auto& c : cases) {
    ApplySession t;
    t.config.Language = c.language;
    t.config.BaudIndex = c.baud;
    t.ApplyWith([&](SettingsForm& f) {
      if (c.choose >= 0) f.SetLangSel(c.choose);
    });
    SCOPED_TRACE(std::to_string(c.language) + " " + c.baud + " " + std::to_string(c.choose));
    EXPECT_EQ(t.Shown(), c.shown);
    EXPECT_TRUE(t.config.Language.Equals(t.regional, c.stored));
    EXPECT_EQ(t.config.BaudIndex, c.baud);
    EXPECT_EQ(t.serial.settings, c.settings);
  }
}

// After: NofSamples, the history's top, LogTime, MotionTime and the record timer's interval.
TEST_F(SettingsApplyTest, SampleCountAndRecordTimingAreStored) {
  const struct {
    int logSet;  // -1: as loaded
    F box;
    const char* typed;
    Strings shown;
    const char* after;
  } cases[] = {
      {-1, F::NofSamples, "10000", {"T14"}, "100 100 1 0 100"},  // strictly below 10000
      {-1, F::NofSamples, "0", {"T14"}, "100 100 1 0 100"},      // and above 0
      {-1, F::NofSamples, " 9999 ", {}, "9999 9999 1 0 100"},
      {2, F::TxtMinute, "5", {}, "100 100 300 0 100"},
      {1, F::TxtSecond, "", {}, "100 100 0 0 100"},
      {3, F::TxtMotionTmr, "4", {}, "100 100 0 4 0"},
  };
  for (const auto& c : cases) {
    ApplySession t;
    t.ApplyWith([&](SettingsForm& f) {
      if (c.logSet >= 0) f.SetLogSet(c.logSet);
      f.SetText(c.box, c.typed);
    });
    SCOPED_TRACE(c.typed);
    EXPECT_EQ(t.Shown(), c.shown);
    EXPECT_EQ(t.Texts(t.config.NofSamples, t.history.UB(), t.config.LogTime, t.config.MotionTime,
                      t.timerLog.interval),
              c.after);
  }
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
  EXPECT_EQ(
      Texts(config.LogEnable, config.LastLogTime, config.LogFileType, config.LogIncremental,
            config.Performance, config.LineMode, config.MouseEvent, config.OmitCh, config.DevType,
            config.RecordOnStartup, config.LogVariation, lastValueResets, config.LogThreshold),
      "on 31/01/2024 15:45:02 1 off 2 1 1 1 1 1 0.5 1 -3");
}

TEST_F(SettingsApplyTest, RegionalCommaIsReadBackAsTyped) {
  regional.decimal = ',';
  config.GraphMax = 12.5;
  config.LogVariation = 0.25;
  config.Expanded = 0;
  ApplyWith([](SettingsForm&) {});
  EXPECT_TRUE(messages.shown.empty());
  EXPECT_EQ(Texts(Controls().TxtMax, config.GraphMax, config.LogVariation), "12,5 12.5 0.25");
}

TEST_F(SettingsApplyTest, FailedSaveIsReportedOnce) {
  write = [] { return false; };
  ApplyWith([](SettingsForm&) {});
  EXPECT_EQ(Shown(), Strings{"T5"});
  EXPECT_EQ(Texts(writes, refreshes), "1 1");
}

// A port that will not close stops Apply at once; what was switched before is saved all the same.
TEST_F(SettingsApplyTest, PortThatWillNotCloseIsToldAndTheSettingsSaved) {
  serial.closeFails = true;
  ApplyWith([](SettingsForm& f) { f.SetSelDatLogEnab(false); });
  EXPECT_EQ(Shown(), Strings{"T5  8020:Error reading comm device"});
  EXPECT_EQ(Texts(writes, refreshes, serial.open), "1 0 on");
}

}  // namespace
}  // namespace tarnwell::testing
