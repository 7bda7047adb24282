// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "settings/SettingsControls.h"
#include "settings/SettingsServices.h"

namespace tarnwell {

// The settings dialog without its widgets: loading the controls from AppConfig, the enable
// rules and immediate switches, the port preview, the record-folder button, Apply and the
// defaults. The window forwards each change the operator makes through a Set... call (which
// runs the control's rule, as a change made from code does) and then shows Controls().
class SettingsForm {
 public:
  explicit SettingsForm(const SettingsServices& services);

  // Entries of the speed list: BaudTable's eleven speeds, so that every index the serial link
  // accepts can be shown and chosen.
  static const std::vector<std::string>& BaudEntries();
  static const std::vector<std::string>& DevTypeEntries();
  // The entry of DevTypeEntries that a stored device type shows; -1 for none.
  static int DevTypePosition(double devType);
  static const std::vector<std::string>& LangEntries();

  const SettingsControls& Controls() const { return controls_; }
  // The field the last message sent the focus to.
  std::optional<SettingsField> Focus() const { return focus_; }
  // Called at each focus move, while Apply runs, so the window can follow at once.
  void SetFocusHandler(std::function<void(SettingsField)> handler) {
    onFocus_ = std::move(handler);
  }

  // Fills the controls from AppConfig; the window applies its language texts before.
  void Load();

  void SetText(SettingsField field, std::string text);
  void SetBaudSel(int position);
  void SetDevType(int position);
  void SetLangSel(int position);
  void SetExpanded(bool ticked);
  void SetGrMode(bool ticked);
  void SetMouseEvent(bool ticked);
  void SetOptPf(int element);
  void SetSelDatLogEnab(bool ticked);
  void SetRecordOnStartup(bool ticked);
  void SetLogIncSel(bool ticked);
  void SetLogSet(int element);
  void SetLogTypeSel(int element);

  void ToggleAdvancedMode();
  void OpenRecordFolder();
  void Apply();
  void ApplyDefaults();

 private:
  enum class PortLineChange { kPort, kSpeed };
  void ShowPortLine(PortLineChange change);
  void EnableRecordControls();
  void EnableIntervalBoxes();
  void EnableRangeBoxes();
  void SetIntervalFromConfig();
  std::string NumberText(double value) const;
  void MoveFocus(SettingsField field);

  SettingsServices services_;
  SettingsControls controls_;
  std::optional<SettingsField> focus_;
  std::function<void(SettingsField)> onFocus_;
};

}  // namespace tarnwell
