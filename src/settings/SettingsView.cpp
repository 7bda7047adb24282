// SPDX-License-Identifier: GPL-3.0-or-later
#include "settings/SettingsView.h"

#include <array>

#include "settings/PortDevice.h"

namespace tarnwell {
namespace {

using Enabled = SettingsControls::Enabled;

struct Tick {
  const char* name;
  bool SettingsControls::*ticked;
  void (SettingsForm::*set)(bool);
};
constexpr std::array<Tick, 6> kTicks{{
    {"GrMode", &SettingsControls::GrMode, &SettingsForm::SetGrMode},
    {"MouseEvent", &SettingsControls::MouseEvent, &SettingsForm::SetMouseEvent},
    {"Expanded", &SettingsControls::Expanded, &SettingsForm::SetExpanded},
    {"SelDatLogEnab", &SettingsControls::SelDatLogEnab, &SettingsForm::SetSelDatLogEnab},
    {"RecordOnStartup", &SettingsControls::RecordOnStartup, &SettingsForm::SetRecordOnStartup},
    {"LogIncSel", &SettingsControls::LogIncSel, &SettingsForm::SetLogIncSel},
}};

// A list's position, or an option group's chosen element.
struct Choice {
  const char* name;
  int SettingsControls::*chosen;
  void (SettingsForm::*set)(int);
};
constexpr std::array<Choice, 3> kLists{{
    {"BaudSel", &SettingsControls::BaudSel, &SettingsForm::SetBaudSel},
    {"DevType", &SettingsControls::DevType, &SettingsForm::SetDevType},
    {"LangSel", &SettingsControls::LangSel, &SettingsForm::SetLangSel},
}};
constexpr std::array<Choice, 3> kGroups{{
    {"OptPf", &SettingsControls::OptPf, &SettingsForm::SetOptPf},
    {"LogSet", &SettingsControls::LogSet, &SettingsForm::SetLogSet},
    {"LogTypeSel", &SettingsControls::LogTypeSel, &SettingsForm::SetLogTypeSel},
}};

struct Switch {
  const char* name;
  bool Enabled::*enabled;
};
constexpr std::array<Switch, 7> kSwitches{{
    {"LogIncSel", &Enabled::LogIncSel},
    {"FrameFile", &Enabled::FrameFile},
    {"LabStabTime", &Enabled::LabStabTime},
    {"LabJump", &Enabled::LabJump},
    {"LabThreshold", &Enabled::LabThreshold},
    {"LabMin", &Enabled::LabMin},
    {"LabMax", &Enabled::LabMax},
}};

template <typename Binding, std::size_t N>
const Binding* Find(const std::array<Binding, N>& bindings, const std::string& name) {
  for (const Binding& b : bindings) {
    if (name == b.name) return &b;
  }
  return nullptr;
}

const TextBox* FindTextBox(const std::string& name) {
  for (const TextBox& box : kTextBoxes) {
    if (name == box.name) return &box;
  }
  return nullptr;
}

SettingsField FieldOf(const TextBox& box) {
  return static_cast<SettingsField>(&box - kTextBoxes.data());
}

const DesignControl& At(int control) {
  return SettingsDesign::Controls().at(static_cast<std::size_t>(control));
}

bool EnabledByRules(const DesignControl& d, const SettingsControls& c) {
  const auto element = static_cast<std::size_t>(d.element);
  if (d.group == "LogSet") return c.enabled.LogSet.at(element);
  if (d.group == "LogTypeSel") return c.enabled.LogTypeSel.at(element);
  if (const TextBox* box = FindTextBox(d.name)) return c.enabled.*box->enabled;
  if (const Switch* s = Find(kSwitches, d.name)) return c.enabled.*s->enabled;
  return true;
}

}  // namespace

SettingsView::SettingsView(const SettingsServices& services, const SerialDevices* devices)
    : form_(services), devices_(devices), regional_(services.regional) {}

ControlState SettingsView::State(int control) const {
  const DesignControl& d = At(control);
  const SettingsControls& c = form_.Controls();
  ControlState s;
  s.enabled = EnabledByRules(d, c);
  if (const TextBox* box = FindTextBox(d.name)) s.text = c.*box->text;
  if (const Tick* tick = Find(kTicks, d.name)) s.chosen = c.*tick->ticked;
  if (const Choice* list = Find(kLists, d.name)) s.position = c.*list->chosen;
  if (const Choice* group = Find(kGroups, d.group)) s.chosen = c.*group->chosen == d.element;
  if (d.name == "LabCommSet") s.text = c.LabCommSet;
  if (d.name == "LabRights" && devices_ != nullptr)
    s.text = PortDeviceLine(c.CommSel, regional_, *devices_);
  return s;
}

std::optional<std::string> SettingsView::LiveToolTip(int control) const {
  if (devices_ == nullptr || At(control).name != "CommSel") return std::nullopt;
  return PortDeviceList(*devices_);
}

void SettingsView::Typed(int control, std::string text) {
  if (const TextBox* box = FindTextBox(At(control).name))
    form_.SetText(FieldOf(*box), std::move(text));
}

void SettingsView::Ticked(int control, bool ticked) {
  if (const Tick* tick = Find(kTicks, At(control).name)) (form_.*tick->set)(ticked);
}

void SettingsView::Chosen(int control) {
  const DesignControl& d = At(control);
  if (const Choice* group = Find(kGroups, d.group)) (form_.*group->set)(d.element);
}

void SettingsView::Picked(int control, int position) {
  if (const Choice* list = Find(kLists, At(control).name)) (form_.*list->set)(position);
}

bool SettingsView::Pressed(int control) {
  const std::string& name = At(control).name;
  if (name == "Apply") form_.Apply();
  if (name == "Defaults") form_.ApplyDefaults();
  if (name == "OpenFolder") form_.OpenRecordFolder();
  return name == "Cancel";
}

void SettingsView::DoubleClicked(int control) {
  if (At(control).name == "ContinuousSendHint") form_.ToggleAdvancedMode();
}

}  // namespace tarnwell
