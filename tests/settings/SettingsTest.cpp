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
// every second, the latest reading 7.
struct Session : SettingsRig {
  Session() { config.LogEnable = true, history.Append(7, 100), serial.ports.insert(99); }
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

// The outcome of a case of golden/form.txt, as described there.
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
    return label + (text.empty() ? "" : " " + text);
  };
  std::string out;
  for (const auto& m : s.messages.shown) out += line("told", m.text) + "\n";
  if (!act.ends_with("Apply"))
    out += line("shown", Changes(loaded, Shown(s.form.Controls()))) + "\n";
  return out + line("changed", Changes(before, s.Now()));
}

// What loading shows and the controls change at once; what Apply stores, and where it stops.
TEST(SettingsForm, LoadsActsAndApplies) {
  EXPECT_TRUE(MatchesScript("settings/golden/form.txt", Outcome));
}

}  // namespace
}  // namespace tarnwell::testing
