// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <sstream>

#include "FakeFileSystem.h"
#include "FakeMessageBox.h"
#include "SettingsRig.h"
#include "settings/SettingsForm.h"

namespace tarnwell::testing {
namespace {

using F = SettingsField;
using Strings = std::vector<std::string>;

// The dialog's logic in the running program: port 1 open, recording every second.
struct Session : SettingsRig {
  Session() { config.LogEnable = true; }
  FakeMessageBox messages;
  FakeFileSystem files;
  SettingsForm form{Services(messages, files)};
};

// Each control as "name=value"; the enabled states grouped by frame.
Strings Shown(const SettingsControls& c) {
  const auto& e = c.enabled;
  std::stringstream o;
  o << "CommSel=" << c.CommSel << "\nBaudSel=" << c.BaudSel << "\nDevType=" << c.DevType
    << "\nLangSel=" << c.LangSel << "\nLabCommSet=" << c.LabCommSet
    << "\nNofSamples=" << c.NofSamples << "\nGrMode=" << c.GrMode << "\nMouseEvent=" << c.MouseEvent
    << "\nOptPf=" << c.OptPf << "\nExpanded=" << c.Expanded << "\nTxtMin=" << c.TxtMin
    << "\nTxtMax=" << c.TxtMax << "\nSelDatLogEnab=" << c.SelDatLogEnab
    << "\nRecordOnStartup=" << c.RecordOnStartup << "\nLogIncSel=" << c.LogIncSel
    << "\nLogSet=" << c.LogSet << "\nTxtSecond=" << c.TxtSecond << "\nTxtMinute=" << c.TxtMinute
    << "\nTxtMotionTmr=" << c.TxtMotionTmr << "\nLogTypeSel=" << c.LogTypeSel
    << "\nTxtJump=" << c.TxtJump << "\nTxtThreshold=" << c.TxtThreshold
    << "\nenabled=" << e.LogSet[0] << e.LogSet[1] << e.LogSet[2] << e.LogSet[3] << ' '
    << e.TxtSecond << e.TxtMinute << e.TxtMotionTmr << ' ' << e.LogTypeSel[0] << e.LogTypeSel[1]
    << e.LogIncSel << e.FrameFile << e.TxtJump << e.TxtThreshold << e.LabStabTime << e.LabJump
    << e.LabThreshold << ' ' << e.LabMin << e.LabMax << e.TxtMin << e.TxtMax;
  Strings shown;
  for (std::string line; std::getline(o, line);) shown.push_back(line);
  return shown;
}

struct Case {
  void (*prepare)(Session&);
  void (*act)(SettingsForm&);
  std::string outcome;
};

// Messages with the field each sent the focus to | controls changed by `act` (without one, by
// loading), unless Apply is pressed after it | settings and program state changed.
std::string Outcome(const Case& c, bool apply) {
  Session s;
  s.form.Load();  // a plain load, for the loads after `prepare` to differ from
  Strings loaded = Shown(s.form.Controls());
  if (c.prepare) c.prepare(s);
  const Strings before = s.Now();
  s.form.Load();
  if (c.act) loaded = Shown(s.form.Controls());
  s.form.SetFocusHandler(
      [&](F f) { s.messages.shown.back().text += std::string(">") + TextBoxOf(f).name; });
  if (c.act) c.act(s.form);
  if (apply) s.form.Apply();
  std::string out;
  for (const auto& m : s.messages.shown) out += m.text + " ";
  if (!apply) out += "| " + Changes(loaded, Shown(s.form.Controls())) + " ";
  return out + "| " + Changes(before, s.Now());
}

TEST(SettingsForm, LoadsActsAtOnceAndAppliesWhatIsValid) {
  const auto unusual = +[](Session& s) {
    AppConfig& c = s.config;
    s.regional.decimal = ',';
    c.CommPort = Value::Text("2"), c.BaudIndex = "5", c.NofSamples = 300, c.Expanded = 0;
    c.GraphMin = Value::Text("-5"), c.GraphMax = 0.5, c.LogVariation = 0.25, c.LogThreshold = 3;
    c.LineMode = c.MouseEvent = c.RecordOnStartup = 1, c.LogFileType = c.DevType = 1;
    c.Performance = 2, c.Language = 0, c.LogIncremental = false, c.LogTime = 120, c.MotionTime = 3;
  };
  const Case cases[] = {
      {unusual, nullptr,
       "| CommSel=2 BaudSel=5 DevType=1 LangSel=0 LabCommSet=Comm2, 33600,8b,n,1s NofSamples=300 "
       "GrMode=0 MouseEvent=1 OptPf=2 Expanded=0 TxtMin=-5 TxtMax=0,5 RecordOnStartup=1 "
       "LogIncSel=0 LogSet=2 TxtMinute=2 TxtMotionTmr=3 LogTypeSel=1 TxtJump=0,25 TxtThreshold=3 "
       "enabled=1111 010 111111111 1111 | "},
      {[](auto& s) { s.config.LogTime = 0, s.config.MotionTime = 5; }, nullptr,
       "| LogSet=3 TxtMotionTmr=5 enabled=1111 001 111111111 0000 | "},
      {[](auto& s) { s.config.Performance = 3, s.config.DevType = 2, s.config.BaudIndex = "abc"; },
       nullptr, "| BaudSel=-1 | Performance=1 DevType=0"},
      {[](auto& s) { s.config.BaudIndex = "10", s.config.Language = 4, s.config.LogEnable = 0; },
       nullptr,
       "| BaudSel=10 LangSel=-1 LabCommSet=Comm1, 921600,8b,n,1s SelDatLogEnab=0 "
       "enabled=0000 000 000000000 0000 | "},
      {unusual, [](auto& f) { f.ApplyDefaults(); },
       "| CommSel=1 BaudSel=3 DevType=0 LabCommSet=Comm2, 9600,8b,n,1s NofSamples=250 GrMode=1 "
       "MouseEvent=0 OptPf=1 Expanded=1 TxtMin=0 TxtMax=1000 SelDatLogEnab=0 LogIncSel=1 LogSet=0 "
       "TxtMinute=1 TxtMotionTmr=0 LogTypeSel=0 TxtJump=0 TxtThreshold=-100000 "
       "enabled=0000 000 000000000 0000 | Expanded=1 LogEnable=0"},
      // No interval box while recording is off.
      {nullptr, [](auto& f) { f.SetSelDatLogEnab(false), f.SetLogSet(3); },
       "| SelDatLogEnab=0 LogSet=3 enabled=0000 000 000000000 0000 | LogEnable=0"},
      {nullptr, [](auto& f) { f.SetText(F::TxtMotionTmr, "7"), f.SetLogSet(0); },
       "| LogSet=0 enabled=1111 000 111111111 0000 | "},
      // The port line: the typed port with the stored speed.
      {[](auto& s) { s.config.BaudIndex = "9"; }, [](auto& f) { f.SetText(F::CommSel, "03x"); },
       "| CommSel=03x LabCommSet=Comm3,460800,8b,n,1s | "},
      {nullptr, [](auto& f) { f.SetText(F::CommSel, "0"); }, "| CommSel=0 LabCommSet=T20 | "},
      {nullptr, [](auto& f) { f.SetText(F::CommSel, "abc"), f.SetBaudSel(2); },
       "| CommSel=abc BaudSel=2 LabCommSet=T20 | "},
      {[](auto& s) { s.files.folder = "/ro", s.files.readOnly = true; },
       [](auto& f) { f.OpenRecordFolder(); }, "T92 |  | "},
      {[](auto& s) { s.processes.fails = true; }, [](auto& f) { f.OpenRecordFolder(); },
       "T94 |  | "},
  };
  for (const auto& c : cases) EXPECT_EQ(Outcome(c, false), c.outcome);

  const std::string saved = " interval=100 opens=1 refreshes=1 resets=1 writes=1";
  const Case applied[] = {
      // A port outside 0-99 stops Apply before anything is stored.
      {nullptr, [](auto& f) { f.SetText(F::TxtMin, "abc"), f.SetText(F::CommSel, "100"); },
       "T4>CommSel | open=0"},
      {nullptr, [](auto& f) { f.SetText(F::CommSel, "-1"); }, "T4>CommSel | open=0"},
      // 0 leaves the port closed; halves round to even; an automatic range takes any limits.
      {nullptr, [](auto& f) { f.SetText(F::CommSel, "0"), f.SetLogSet(0); },
       "| CommPort=0 LogTime=0 open=0 refreshes=1 resets=1 writes=1"},
      {nullptr,
       [](auto& f) {
         f.SetText(F::CommSel, "2.5"), f.SetBaudSel(7), f.SetText(F::NofSamples, " 9999 ");
         f.SetLogSet(2), f.SetText(F::TxtMinute, "5");
         f.SetText(F::TxtMin, "500"), f.SetText(F::TxtMax, "100");
       },
       "| CommPort=2.5 BaudIndex=7 LogTime=300 NofSamples=9999 GraphMin=500 GraphMax=100 com=2 "
       "line=115200,n,8,1 history=9999:0" +
           saved},
      // A port the system lacks: what was stored before is saved, the later steps are not done.
      {nullptr,
       [](auto& f) {
         f.SetText(F::CommSel, "7"), f.SetBaudSel(4), f.SetText(F::TxtMax, "55");
         f.SetText(F::NofSamples, "300");
       },
       "T5  8002:Invalid port number | CommPort=7 BaudIndex=4 GraphMax=55 com=7 "
       "line=19200,n,8,1 open=0 resets=1 writes=1"},
      {[](auto& s) { s.serial.closeFails = true; }, [](auto& f) { f.SetSelDatLogEnab(false); },
       "T5  8020:Error reading comm device | LogEnable=0 writes=1"},
      {[](auto& s) { s.write = [] { return false; }; }, nullptr, "T5 |" + saved},
      // Bad fields keep their settings, in order; the range check takes what is stored.
      {[](auto& s) { s.config.GraphMin = 950, s.config.GraphMax = 900, s.config.Expanded = 0; },
       [](auto& f) {
         f.SetText(F::TxtMin, "abc"), f.SetText(F::TxtMax, "1e"), f.SetText(F::TxtJump, "");
         f.SetText(F::TxtThreshold, "5 5"), f.SetText(F::TxtMotionTmr, "x");
         f.SetText(F::NofSamples, "12abc"), f.SetText(F::TxtSecond, "30");
       },
       "T6>TxtMin T7>TxtMax T15>TxtMin T19>TxtJump T24>TxtThreshold T25>TxtMotionTmr "
       "T14>NofSamples | LogTime=30 interval=100 opens=1 refreshes=1 writes=1"},
      {[](auto& s) { s.config.Expanded = 0; },
       [](auto& f) { f.SetText(F::TxtMin, "100"), f.SetText(F::TxtMax, "100"); },
       "T15>TxtMin | GraphMin=100 GraphMax=100" + saved},
      {nullptr, [](auto& f) { f.SetText(F::NofSamples, "10000"); }, "T14>NofSamples |" + saved},
      // A minimum stored with the other decimal mark is shown, and applied, as a number.
      {[](auto& s) { s.config.GraphMin = Value::Text("-0,5"); }, nullptr,
       "| GraphMin=-0.5" + saved},
      {nullptr, [](auto& f) { f.SetText(F::NofSamples, "0"); }, "T14>NofSamples |" + saved},
      // The slots above the old top take its reading; the write position stays inside.
      {[](auto& s) { s.history.SetSlot(100, 7); }, [](auto& f) { f.SetText(F::NofSamples, "150"); },
       "| NofSamples=150 history=150:7" + saved},
      {[](auto& s) { s.history.SetSampleIndex(90); },
       [](auto& f) { f.SetText(F::NofSamples, "50"); },
       "| NofSamples=50 history=50:0 index=0" + saved},
      {[](auto& s) { s.history.SetSampleIndex(50); },
       [](auto& f) { f.SetText(F::NofSamples, "50"); }, "| NofSamples=50 history=50:0" + saved},
      {nullptr, [](auto& f) { f.SetLogSet(3), f.SetText(F::TxtMotionTmr, "4"); },
       "| LogTime=0 MotionTime=4 opens=1 refreshes=1 resets=1 writes=1"},
      // A language chosen is announced; an untouched list keeps a value it has no entry for.
      {[](auto& s) { s.config.Language = 0; }, [](auto& f) { f.SetLangSel(2); }, "T23 |" + saved},
      {[](auto& s) { s.config.Language = 255, s.config.BaudIndex = "x"; }, nullptr, "|" + saved},
      // Switches and choices are stored; numbers shown with a regional comma read back unchanged.
      {[](auto& s) {
         s.config.LogEnable = false, s.config.LastLogTime.clear(), s.config.Language = 0;
         s.regional.decimal = ',', s.config.GraphMax = 12.5;
       },
       [](auto& f) {
         f.SetLangSel(1), f.SetSelDatLogEnab(true), f.SetLogTypeSel(1), f.SetLogIncSel(false);
         f.SetOptPf(2), f.SetGrMode(false), f.SetMouseEvent(true), f.SetDevType(1);
         f.SetRecordOnStartup(true), f.SetText(F::TxtJump, "0.5"), f.SetText(F::TxtThreshold, "-3");
       },
       "T23 | OmitCh=1 LastLogTime=31/01/2024 15:45:02 Performance=2 LogFileType=1 LogEnable=1 "
       "LogIncremental=0 LogVariation=0,5 Language=1 LineMode=1 MouseEvent=1 DevType=1 "
       "RecordOnStartup=1 LogThreshold=-3" +
           saved},
  };
  for (const auto& c : applied) EXPECT_EQ(Outcome(c, true), c.outcome);
}

TEST(SettingsForm, RecordFolderOpensInTheFileBrowser) {
  Session s;
  s.form.OpenRecordFolder();
  ASSERT_EQ(s.processes.started.size(), 1u);
  EXPECT_EQ(s.processes.started[0].program, "xdg-open");
  EXPECT_EQ(s.processes.started[0].arguments, Strings{"/prog/Log"});
}

}  // namespace
}  // namespace tarnwell::testing
