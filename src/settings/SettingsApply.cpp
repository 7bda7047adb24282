// SPDX-License-Identifier: GPL-3.0-or-later
#include "settings/SettingsApply.h"

#include <cmath>
#include <new>

#include "acquisition/SerialLink.h"
#include "config/NumberText.h"
#include "i18n/TextIndex.h"
#include "platform/DateTime.h"
#include "recording/RecordWriter.h"
#include "settings/SettingsForm.h"

namespace tarnwell {

SettingsApply::SettingsApply(const SettingsServices& services, const SettingsControls& controls,
                             std::function<void(SettingsField)> moveFocus)
    : services_(services), controls_(controls), moveFocus_(std::move(moveFocus)) {}

std::optional<double> SettingsApply::Numeric(const std::string& text) const {
  return ToNumber(text, services_.regional);
}

void SettingsApply::FieldMessage(int text, SettingsField field) {
  services_.messages.Show(services_.lang.Text(text));
  if (moveFocus_) moveFocus_(field);
}

void SettingsApply::ShowFailure() {
  services_.messages.Show(serialError_ ? SerialFailureText(services_.lang, *serialError_)
                                       : services_.lang.Text(text::kSerialFailure));
  serialError_.reset();
}

// A failing operation is reported where it fails, as a bad field is, and the rest is still
// applied and stored: only the port's own later steps are left out. The port keeps the number
// and speed it took.
void SettingsApply::Run() {
  PortControl& ports = services_.ports;
  bool portUsable = Ok(ports.Close());
  if (!portUsable) ShowFailure();

  const double port = LeadingNumber(controls_.CommSel, services_.regional);
  if (!IsSettablePort(port)) return FieldMessage(text::kBadPort, SettingsField::CommSel);
  if (portUsable && !(portUsable = ApplyPort(port))) ShowFailure();

  ApplyRange();
  ApplyRecordTests();
  if (portUsable && !(ApplySpeed() && Ok(ports.Open()))) ShowFailure();
  if (!ApplySamples()) ShowFailure();
  ApplyRecordTiming();
  ApplySwitches();
  if (services_.SetRefreshRate) services_.SetRefreshRate();
  services_.config.RecordOnStartup = controls_.RecordOnStartup ? 1 : 0;
  if (services_.WriteConfig && !services_.WriteConfig()) ShowFailure();
}

bool SettingsApply::ApplyPort(double port) {
  const auto whole = ToInt16(port);
  if (!whole || !Ok(services_.ports.SelectPort(*whole))) return false;
  services_.config.CommPort = Value::Double(port);
  return true;
}

// Minimum, language and maximum, in this order, then the range check on what was stored.
void SettingsApply::ApplyRange() {
  AppConfig& c = services_.config;
  if (const auto min = Numeric(controls_.TxtMin)) {
    c.GraphMin = Value::Double(*min);
  } else {
    FieldMessage(text::kBadMinimum, SettingsField::TxtMin);
  }
  ApplyLanguage();
  if (const auto max = Numeric(controls_.TxtMax)) {
    c.GraphMax = *max;
  } else {
    FieldMessage(text::kBadMaximum, SettingsField::TxtMax);
  }
  const auto min = c.GraphMin.AsNumber(services_.regional);
  if (controls_.Expanded == false && min && *min >= c.GraphMax) {
    FieldMessage(text::kMinimumNotBelowMaximum, SettingsField::TxtMin);
  }
}

// The list has no entry for a stored language beyond it, nor is the stored one replaced while
// the list shows it: only a choice the operator made changes the language.
void SettingsApply::ApplyLanguage() {
  AppConfig& c = services_.config;
  const int position = controls_.LangSel;
  if (position < 0 || c.Language.Equals(services_.regional, position)) return;
  services_.messages.Show(services_.lang.Text(text::kLanguageNextStart));
  c.Language = position == 1 ? 1 : 0;
}

void SettingsApply::ApplyRecordTests() {
  AppConfig& c = services_.config;
  if (const auto jump = Numeric(controls_.TxtJump)) {
    c.LogVariation = *jump;
    if (services_.ResetLastLogValue) services_.ResetLastLogValue();
  } else {
    FieldMessage(text::kBadVariation, SettingsField::TxtJump);
  }
  if (const auto threshold = Numeric(controls_.TxtThreshold)) {
    c.LogThreshold = *threshold;
  } else {
    FieldMessage(text::kBadThreshold, SettingsField::TxtThreshold);
  }
  if (const auto motion = Numeric(controls_.TxtMotionTmr)) {
    c.MotionTime = *motion;
  } else {
    FieldMessage(text::kBadMotionTime, SettingsField::TxtMotionTmr);
  }
}

// With no speed chosen (a stored index the list does not hold) the stored text stays and the
// port gets the speed the serial link reads from it.
bool SettingsApply::ApplySpeed() {
  AppConfig& c = services_.config;
  const int s = controls_.BaudSel;
  if (s >= 0 && s < static_cast<int>(BaudTable.size())) c.BaudIndex = std::to_string(s);
  return Ok(services_.ports.SelectSpeed(BaudFor(c.BaudIndex).speed));
}

bool SettingsApply::ApplySamples() {
  AppConfig& c = services_.config;
  const auto n = Numeric(controls_.NofSamples);
  if (!n || !SampleHistory::AcceptsCount(*n)) {
    FieldMessage(text::kBadSampleCount, SettingsField::NofSamples);
    return true;
  }
  SampleHistory& history = services_.history;
  try {
    history.ResizeFilling(SampleHistory::UpperIndexFor(*n));
  } catch (const std::bad_alloc&) {
    return false;
  }
  // A shorter history must not leave the write position beyond its last slot.
  if (history.SampleIndex() > history.UB()) history.SetSampleIndex(0);
  c.NofSamples = *n;
  return true;
}

void SettingsApply::ApplyRecordTiming() {
  AppConfig& c = services_.config;
  const Regional& r = services_.regional;
  if (controls_.LogSet == 1) {
    c.LogTime = LeadingNumber(controls_.TxtSecond, r);
  } else if (controls_.LogSet == 2) {
    c.LogTime = LeadingNumber(controls_.TxtMinute, r) * 60;
  } else if (controls_.LogSet == 0 || controls_.LogSet == 3) {
    c.LogTime = 0;
  }
  services_.recordTimer.SetInterval(RecordTimerIntervalMs(c.LogTime));
}

void SettingsApply::ApplySwitches() {
  AppConfig& c = services_.config;
  if (controls_.SelDatLogEnab) {
    c.LogEnable = true;
    if (c.LastLogTime.empty()) {
      c.LastLogTime = DateTimeText(services_.clock.LocalNow(), services_.regional);
    }
  } else {
    c.LogEnable = false;
  }
  c.LogFileType = controls_.LogTypeSel == 0 ? RecordFileType::kText : RecordFileType::kSpreadsheet;
  c.LogIncremental = controls_.LogIncSel;
  if (controls_.OptPf >= 0 && controls_.OptPf <= 2) c.Performance = controls_.OptPf;
  c.LineMode = controls_.GrMode ? 0 : 1;
  c.MouseEvent = controls_.MouseEvent ? 1 : 0;
  // Only a device type chosen in the window sets the omitted characters: one set by hand in
  // config.ini, which the window has no field for, stays.
  if (controls_.DevType != SettingsForm::DevTypePosition(c.DevType)) {
    c.OmitCh = controls_.DevType == 1 ? 1 : 0;
  }
  c.DevType = controls_.DevType;
}

}  // namespace tarnwell
