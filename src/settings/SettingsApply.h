// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <functional>
#include <optional>
#include <string>

#include "platform/SerialPort.h"
#include "settings/SettingsControls.h"
#include "settings/SettingsServices.h"

namespace tarnwell {

// Apply: checks the dialog's entries, copies them into AppConfig, pushes them into the running
// program and saves config.ini. A bad field is reported, gets the focus and keeps its old
// value; a bad port number ends Apply before anything is stored; a failing operation is
// reported with text 5 (and the port's own error) and the other settings are still applied.
class SettingsApply {
 public:
  SettingsApply(const SettingsServices& services, const SettingsControls& controls,
                std::function<void(SettingsField)> moveFocus);

  void Run();

 private:
  // Each step returns false when an operation failed.
  bool ApplyPort(double port);
  void ApplyRange();
  void ApplyLanguage();
  void ApplyRecordTests();
  bool ApplySpeed();
  bool ApplySamples();
  void ApplyRecordTiming();
  void ApplySwitches();
  void ShowFailure();
  void FieldMessage(int text, SettingsField field);
  std::optional<double> Numeric(const std::string& text) const;
  // Keeps the port's failure for the message that names the device and the reason.
  bool Ok(const std::optional<SerialError>& error) {
    serialError_ = error;
    return !error;
  }

  SettingsServices services_;
  const SettingsControls& controls_;
  std::function<void(SettingsField)> moveFocus_;
  std::optional<SerialError> serialError_;
};

}  // namespace tarnwell
