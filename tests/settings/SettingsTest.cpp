// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <map>
#include <new>
#include <sstream>

#include "FakeFileSystem.h"
#include "FakeMessageBox.h"
#include "Golden.h"
#include "SettingsRig.h"
#include "TestFiles.h"
#include "settings/SettingsForm.h"

// Larger allocations fail, as they do when memory runs out.
static std::size_t allocationLimit = SIZE_MAX;
void* operator new(std::size_t n) {
  void* p = n <= allocationLimit ? std::malloc(n > 0 ? n : 1) : nullptr;
  return p != nullptr ? p : throw std::bad_alloc();
}
[[gnu::noinline]] static void Release(void* p) { std::free(p); }
void operator delete(void* p) noexcept { Release(p); }
void operator delete(void* p, std::size_t) noexcept { Release(p); }

namespace tarnwell::testing {
namespace {

using Strings = std::vector<std::string>;

// The dialog's logic in the running program: port 1 open, ports 1-3 and 99 present, recording
// every second, the history's top slot (100) holding 7.
struct Session : SettingsRig {
  Session() { config.LogEnable = true, history.SetSlot(100, 7), serial.ports.insert(99); }
  FakeMessageBox messages;
  FakeFileSystem files;
  SettingsForm form{Services(messages, files)};
};

// Each control as "name=value"; the enabled states of the text boxes, then by frame.
Strings Shown(const SettingsControls& c) {
  const auto& e = c.enabled;
  std::stringstream o;
  for (const TextBox& box : kTextBoxes) o << box.name << "=" << c.*box.text << "\n";
  o << "BaudSel=" << c.BaudSel << "\nDevType=" << c.DevType << "\nLangSel=" << c.LangSel
    << "\nLabCommSet=" << c.LabCommSet << "\nGrMode=" << c.GrMode << "\nMouseEvent=" << c.MouseEvent
    << "\nOptPf=" << c.OptPf << "\nExpanded=" << c.Expanded << "\nSelDatLogEnab=" << c.SelDatLogEnab
    << "\nRecordOnStartup=" << c.RecordOnStartup << "\nLogIncSel=" << c.LogIncSel
    << "\nLogSet=" << c.LogSet << "\nLogTypeSel=" << c.LogTypeSel << "\nenabled=";
  for (const TextBox& box : kTextBoxes) o << e.*box.enabled;
  o << ' ' << e.LogSet[0] << e.LogSet[1] << e.LogSet[2] << e.LogSet[3] << e.LogTypeSel[0]
    << e.LogTypeSel[1] << e.LogIncSel << e.FrameFile << e.LabStabTime << e.LabJump << e.LabThreshold
    << e.LabMin << e.LabMax;
  Strings shown;
  for (std::string line; std::getline(o, line);) shown.push_back(line);
  return shown;
}

// What the operator does: a text box or a choice by its control's name, or a button.
const std::map<std::string, std::function<void(SettingsForm&, int)>> kChoices = {
    {"BaudSel", &SettingsForm::SetBaudSel},
    {"DevType", &SettingsForm::SetDevType},
    {"LangSel", &SettingsForm::SetLangSel},
    {"Expanded", &SettingsForm::SetExpanded},
    {"GrMode", &SettingsForm::SetGrMode},
    {"MouseEvent", &SettingsForm::SetMouseEvent},
    {"OptPf", &SettingsForm::SetOptPf},
    {"SelDatLogEnab", &SettingsForm::SetSelDatLogEnab},
    {"LogSet", &SettingsForm::SetLogSet},
    {"RecordOnStartup", &SettingsForm::SetRecordOnStartup},
    {"LogIncSel", &SettingsForm::SetLogIncSel},
    {"LogTypeSel", &SettingsForm::SetLogTypeSel},
    {"Defaults", [](SettingsForm& f, int) { f.ApplyDefaults(); }},
    {"OpenFolder", [](SettingsForm& f, int) { f.OpenRecordFolder(); }},
    {"Apply", [](SettingsForm& f, int) { f.Apply(); }},
};

// A case is "<set-up> / <act>", each steps "name=value" separated by ';'. Its outcome: the
// messages shown, each with the field it sent the focus to; the controls the act changed (without
// one, the controls loading changed), unless it pressed Apply; the settings and state changed.
std::string Outcome(const std::string& setUpAndAct) {
  const std::string setUp = setUpAndAct.substr(0, setUpAndAct.find(" / "));
  const std::string act = setUpAndAct.substr(std::min(setUp.size() + 3, setUpAndAct.size()));
  Session s;
  s.form.Load();  // a plain load, for the loads after the set-up to differ from
  Strings loaded = Shown(s.form.Controls());
  for (const auto& [name, value] : Steps(setUp)) {
    for (const ConfigRow& row : ConfigRows())  // a config.ini line by its setting's name
      if (row.field == name) row.read(s.config, value, StoredNumber(value, s.regional).value_or(0));
    if (name == "decimal") s.regional.decimal = value.at(0);
    if (name == "index") s.history.SetSampleIndex(std::stoi(value));
    if (name == "readOnly") s.files.readOnly = true;
    if (name == "noBrowser") s.processes.fails = true;
    if (name == "closeFails") s.serial.closeFails = true;
    if (name == "fails") s.serial.fails = value;  // choosing the port or the speed
    if (name == "unplugged") s.serial.ports.erase(99);
    if (name == "noMemory") allocationLimit = 40000;
    if (name == "writeFails") s.write = [] { return false; };
  }
  const Strings before = s.Now();
  s.form.Load();
  if (!act.empty()) loaded = Shown(s.form.Controls());
  s.form.SetFocusHandler([&](SettingsField f) {
    s.messages.shown.back().text += std::string(">") + TextBoxOf(f).name;
  });
  for (const auto& [name, value] : Steps(act)) {
    if (kChoices.count(name)) kChoices.at(name)(s.form, std::atoi(value.c_str()));
    for (const TextBox& box : kTextBoxes)
      if (box.name == name) s.form.SetText(SettingsField(&box - kTextBoxes.data()), value);
  }
  allocationLimit = SIZE_MAX;
  const auto line = [](const std::string& label, const std::string& text) {
    return label + (text.empty() ? "" : " " + text) + "\n";
  };
  std::string out = line("#", setUpAndAct);
  for (const auto& m : s.messages.shown) out += line("told", m.text);
  if (!act.ends_with("Apply")) out += line("shown", Changes(loaded, Shown(s.form.Controls())));
  return out + line("changed", Changes(before, s.Now()));
}

// golden/<golden> holds the outcomes of the cases.
void ExpectOutcomes(const Strings& cases, const std::string& golden) {
  std::string outcomes;
  for (const std::string& c : cases) outcomes += Outcome(c);
  EXPECT_TRUE(MatchesGolden("settings/golden/" + golden, outcomes));
}

// What loading shows, and the changes the controls make at once: no interval box while recording
// is off, the port line with the typed port and the stored speed, the record folder opened.
TEST(SettingsForm, LoadsAndActsAtOnce) {
  const std::string unusual =
      "decimal=,;CommPort=2;BaudIndex=5;NofSamples=300;Expanded=0;GraphMin=-5;GraphMax=0,5;"
      "LogVariation=0,25;LogThreshold=3;LineMode=1;MouseEvent=1;RecordOnStartup=1;LogFileType=1;"
      "DevType=1;Performance=2;Language=0;LogIncremental=0;LogTime=120;MotionTime=3";
  ExpectOutcomes({unusual, "LogTime=0;MotionTime=5", "Performance=3;DevType=2;BaudIndex=abc",
                  "BaudIndex=10;Language=4;LogEnable=0", unusual + " / Defaults",
                  " / SelDatLogEnab=0;LogSet=3", " / TxtMotionTmr=7;LogSet=0",
                  "BaudIndex=9 / CommSel=03x", " / CommSel=0", " / CommSel=abc;BaudSel=2",
                  " / OpenFolder", "readOnly / OpenFolder", "noBrowser / OpenFolder"},
                 "load_and_act.txt");
}

// Apply takes each step in turn; one that fails is reported (with the port's own error where it
// has one), what was stored before it is saved and the steps after it are not taken.
TEST(SettingsForm, ApplyStopsAtTheStepThatFailsAndSavesWhatWasStored) {
  Strings cases;
  for (const char* failing :
       {"", "closeFails", "fails=port", "fails=speed", "unplugged", "noMemory", "writeFails"})
    cases.push_back(std::string(failing) +
                    " / CommSel=99;Expanded=0;TxtMax=55;TxtJump=0.5;BaudSel=0;NofSamples=9999;"
                    "LogSet=2;GrMode=0;Apply");
  ExpectOutcomes(cases, "apply_failing_steps.txt");
}

// A port outside 0-99 stops Apply before anything is stored; 0 leaves the port closed, halves
// round to even. Bad fields are reported in order, each keeping its setting; the range check
// takes what is stored, an automatic range any limits. A minimum stored with the other decimal
// mark is applied as a number; the write position stays inside a shorter history; a language
// chosen is announced, and an untouched list keeps a value it has no entry for; there are three
// performance levels.
TEST(SettingsForm, ApplyStoresWhatIsValid) {
  ExpectOutcomes(
      {" / TxtMin=abc;CommSel=100;Apply", " / CommSel=-1;Apply", " / CommSel=0;LogSet=0;Apply",
       " / CommSel=2.5;BaudSel=7;NofSamples= 150 ;LogSet=2;TxtMinute=5;TxtMin=500;TxtMax=100;Apply",
       "GraphMin=950;GraphMax=900;Expanded=0 / TxtMin=abc;TxtMax=1e;TxtJump=;TxtThreshold=5 5;"
       "TxtMotionTmr=x;NofSamples=12abc;TxtSecond=30;Apply",
       "Expanded=0 / TxtMin=100;TxtMax=100;Apply", " / NofSamples=10000;Apply",
       " / NofSamples=0;Apply", "GraphMin=-0,5 / Apply", "index=90 / NofSamples=50;Apply",
       "index=50 / NofSamples=50;Apply", " / LogSet=3;TxtMotionTmr=4;OptPf=3;Apply",
       "Language=0 / LangSel=2;Apply", "Language=255;BaudIndex=x / Apply",
       // Switches and choices are stored; numbers shown with a regional comma read back.
       "LogEnable=0;LastLogTime=;Language=0;decimal=,;GraphMax=12,5 / LangSel=1;SelDatLogEnab=1;"
       "LogTypeSel=1;LogIncSel=0;OptPf=2;GrMode=0;MouseEvent=1;DevType=1;RecordOnStartup=1;"
       "TxtJump=0.5;TxtThreshold=-3;Apply"},
      "apply.txt");
}

}  // namespace
}  // namespace tarnwell::testing
