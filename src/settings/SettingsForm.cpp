// SPDX-License-Identifier: GPL-3.0-or-later
#include "settings/SettingsForm.h"

#include <cmath>

#include "acquisition/SerialLink.h"
#include "config/NumberText.h"
#include "i18n/TextIndex.h"
#include "recording/RecordFileName.h"
#include "settings/SettingsApply.h"

namespace tarnwell {
namespace {

// A stored number as a position in a list of `count` entries; -1 when the list has none there.
int ListPosition(double value, int count) {
  if (!std::isfinite(value)) return -1;
  const double r = RoundHalfEven(value);
  return r >= 0 && r < count ? static_cast<int>(r) : -1;
}

// The position of a stored BaudIndex, when it is one the serial link knows.
int StoredBaudPosition(const std::string& baudIndex) {
  const int used = BaudFor(baudIndex).index;
  return std::to_string(used) == baudIndex ? used : -1;
}

// The speed the serial link takes for a stored BaudIndex ("9600" for one it does not know).
std::string StoredSpeed(const std::string& baudIndex) {
  return std::to_string(BaudFor(baudIndex).speed);
}

}  // namespace

SettingsForm::SettingsForm(const SettingsServices& services) : services_(services) {}

const std::vector<std::string>& SettingsForm::BaudEntries() {
  static const std::vector<std::string> entries = [] {
    std::vector<std::string> e;
    for (int speed : BaudTable) e.push_back(std::to_string(speed));
    return e;
  }();
  return entries;
}

const std::vector<std::string>& SettingsForm::DevTypeEntries() {
  static const std::vector<std::string> entries{"Standart", "ZENN & ORVO"};
  return entries;
}

int SettingsForm::DevTypePosition(double devType) {
  // A type beyond the list shows as the standard one.
  return ListPosition(devType > 1 ? 0 : devType, static_cast<int>(DevTypeEntries().size()));
}

const std::vector<std::string>& SettingsForm::LangEntries() {
  static const std::vector<std::string> entries{"English", "Turkce", "----"};
  return entries;
}

std::string SettingsForm::NumberText(double value) const {
  return NumberToText(value, services_.regional);
}

// Shows the settings as they are; only Apply changes them.
void SettingsForm::Load() {
  const AppConfig& c = services_.config;
  const Regional& r = services_.regional;

  const auto port = c.PortNumber(r);
  SetText(SettingsField::CommSel, port ? NumberText(*port) : c.CommPort.ToText(r));
  SetBaudSel(StoredBaudPosition(c.BaudIndex));
  // Languages beyond the list (a language file chosen by hand, the fallback 255) show no entry.
  SetLangSel(ListPosition(c.LanguageNumber(r), static_cast<int>(LangEntries().size())));
  SetText(SettingsField::NofSamples, NumberText(c.NofSamples));
  // A minimum written under another regional setting shows with this one's decimal mark.
  const auto min = c.GraphMin.AsNumber(r);
  const std::string minText = c.GraphMin.ToText(r);
  SetText(SettingsField::TxtMin, min && !ToNumber(minText, r) ? NumberText(*min) : minText);
  SetText(SettingsField::TxtMax, NumberText(c.GraphMax));
  SetExpanded(c.AutomaticRange(r));
  SetSelDatLogEnab(c.LogEnable);
  SetIntervalFromConfig();
  EnableRecordControls();
  SetLogTypeSel(c.LogFileType == RecordFileType::kSpreadsheet ? 1 : 0);
  SetLogIncSel(c.LogIncremental);
  // A level beyond the list (Ultra) shows as Mid.
  const auto level = c.Performance.AsNumber(r);
  SetOptPf(ListPosition(level && *level > 2 ? 1 : c.PerformanceLevel(r), 3));
  SetGrMode(c.LineMode.Equals(r, 0));
  SetText(SettingsField::TxtJump, NumberText(c.LogVariation));
  SetText(SettingsField::TxtThreshold, NumberText(c.LogThreshold));
  SetText(SettingsField::TxtMotionTmr, NumberText(c.MotionTime));
  SetMouseEvent(c.PointerReadOut(r));
  SetDevType(DevTypePosition(c.DevType));
  SetRecordOnStartup(c.RecordsAtStartup(r));
}

// LogTime 0 is continuous or stability-timed; whole minutes show as minutes, the rest as
// seconds. The box not chosen keeps its text.
void SettingsForm::SetIntervalFromConfig() {
  const AppConfig& c = services_.config;
  if (c.LogTime == 0) {
    SetLogSet(c.MotionTime != 0 ? 3 : 0);
  } else if (std::fmod(RoundHalfEven(c.LogTime), 60.0) != 0) {
    controls_.TxtSecond = NumberText(c.LogTime);
    SetLogSet(1);
  } else {
    controls_.TxtMinute = NumberText(c.LogTime / 60);
    SetLogSet(2);
  }
}

void SettingsForm::SetText(SettingsField field, std::string text) {
  controls_.*TextBoxOf(field).text = std::move(text);
  if (field == SettingsField::CommSel) ShowPortLine(PortLineChange::kPort);
}

void SettingsForm::SetBaudSel(int position) {
  controls_.BaudSel = position;
  ShowPortLine(PortLineChange::kSpeed);
}

void SettingsForm::SetDevType(int position) { controls_.DevType = position; }
void SettingsForm::SetLangSel(int position) { controls_.LangSel = position; }

void SettingsForm::SetExpanded(bool ticked) {
  controls_.Expanded = ticked;
  EnableRangeBoxes();
}

void SettingsForm::SetGrMode(bool ticked) { controls_.GrMode = ticked; }
void SettingsForm::SetMouseEvent(bool ticked) { controls_.MouseEvent = ticked; }
void SettingsForm::SetOptPf(int element) { controls_.OptPf = element; }

void SettingsForm::SetSelDatLogEnab(bool ticked) {
  controls_.SelDatLogEnab = ticked;
  EnableRecordControls();
}

void SettingsForm::SetRecordOnStartup(bool ticked) { controls_.RecordOnStartup = ticked; }
void SettingsForm::SetLogIncSel(bool ticked) { controls_.LogIncSel = ticked; }

void SettingsForm::SetLogSet(int element) {
  controls_.LogSet = element;
  EnableIntervalBoxes();
}

void SettingsForm::SetLogTypeSel(int element) { controls_.LogTypeSel = element; }

// The port line previews the port and its speed: a port typed shows with the stored speed, a
// speed chosen with the stored port (and a blank after the comma). A port of 0 is no port.
void SettingsForm::ShowPortLine(PortLineChange change) {
  const double p = LeadingNumber(controls_.CommSel, services_.regional);
  if (p == 0) {
    controls_.LabCommSet = services_.lang.Text(text::kNoPort);
    return;
  }
  const AppConfig& c = services_.config;
  if (change == PortLineChange::kPort) {
    controls_.LabCommSet = "Comm" + NumberText(p) + "," + StoredSpeed(c.BaudIndex) + ",8b,n,1s";
    return;
  }
  const int s = controls_.BaudSel;
  const std::string speed = s >= 0 && s < static_cast<int>(BaudEntries().size())
                                ? BaudEntries()[static_cast<std::size_t>(s)]
                                : StoredSpeed(c.BaudIndex);
  controls_.LabCommSet = "Comm" + c.CommPort.ToText(services_.regional) + ", " + speed + ",8b,n,1s";
}

void SettingsForm::EnableRecordControls() {
  const bool on = controls_.SelDatLogEnab;
  // Recording follows the box at once, before Apply; loading sets it to what it was.
  services_.config.LogEnable = on;
  auto& e = controls_.enabled;
  e.LogSet = {on, on, on, on};
  e.LogTypeSel = {on, on};
  e.LogIncSel = e.FrameFile = e.TxtJump = e.TxtThreshold = on;
  e.LabStabTime = e.LabJump = e.LabThreshold = on;
  e.TxtSecond = on && controls_.LogSet == 1;
  e.TxtMinute = on && controls_.LogSet == 2;
  e.TxtMotionTmr = on && controls_.LogSet == 3;
}

void SettingsForm::EnableIntervalBoxes() {
  auto& e = controls_.enabled;
  if (controls_.LogSet == 0) controls_.TxtMotionTmr = "0";
  // Unticked recording keeps every interval box disabled, whatever option code selects.
  const bool on = controls_.SelDatLogEnab;
  e.TxtSecond = on && controls_.LogSet == 1;
  e.TxtMinute = on && controls_.LogSet == 2;
  e.TxtMotionTmr = on && controls_.LogSet == 3;
}

void SettingsForm::EnableRangeBoxes() {
  const bool automatic = controls_.Expanded;
  services_.config.Expanded = automatic ? 1 : 0;
  auto& e = controls_.enabled;
  e.LabMin = e.LabMax = e.TxtMin = e.TxtMax = !automatic;
}

void SettingsForm::ToggleAdvancedMode() {
  services_.config.AdvancedMode = !services_.config.AdvancedMode;
}

void SettingsForm::OpenRecordFolder() {
  FileSystem& fs = services_.files;
  const std::string folder = RecordFolder(fs);
  if (!fs.FolderExists(folder) && !fs.CreateFolder(folder)) {
    services_.messages.Show(services_.lang.Text(text::kRecordFolderFailed));
    return;
  }
  if (!services_.processes.OpenFolder(folder)) {
    services_.messages.Show(services_.lang.Text(text::kFileBrowserFailed));
  }
}

void SettingsForm::MoveFocus(SettingsField field) {
  focus_ = field;
  if (onFocus_) onFocus_(field);
}

void SettingsForm::Apply() {
  SettingsApply apply(services_, controls_, [this](SettingsField f) { MoveFocus(f); });
  apply.Run();
}

void SettingsForm::ApplyDefaults() {
  SetText(SettingsField::CommSel, "1");
  SetBaudSel(3);
  SetDevType(0);
  SetText(SettingsField::NofSamples, "250");
  SetGrMode(true);
  SetMouseEvent(false);
  SetExpanded(true);
  SetText(SettingsField::TxtMin, "0");
  SetText(SettingsField::TxtMax, "1000");
  SetOptPf(1);
  SetSelDatLogEnab(false);
  SetLogSet(0);
  SetText(SettingsField::TxtSecond, "1");
  SetText(SettingsField::TxtMinute, "1");
  SetLogIncSel(true);
  SetLogTypeSel(0);
  SetText(SettingsField::TxtJump, "0");
  SetText(SettingsField::TxtThreshold, "-100000");
}

}  // namespace tarnwell
