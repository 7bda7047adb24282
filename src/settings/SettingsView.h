// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <optional>
#include <string>

#include "platform/SerialDevices.h"
#include "settings/SettingsDesign.h"
#include "settings/SettingsForm.h"

namespace tarnwell {

// What one control of SettingsDesign shows.
struct ControlState {
  std::optional<std::string> text;  // a text box's text, a label's changing caption
  std::optional<bool> chosen;       // a check box ticked, an option button chosen
  std::optional<int> position;      // a list's entry shown; -1 for none
  // As the enable rules set it; a frame disabled disables what it holds as well.
  bool enabled = true;
};

// The settings dialog's logic by the design's controls, for the windows of both front ends:
// they make the controls of SettingsDesign, pass on what the operator does to each by its
// position there, and then show State() of every control. It owns the SettingsForm.
class SettingsView {
 public:
  // `devices`, when given, tells which device the typed port number opens; it outlives the view.
  SettingsView(const SettingsServices& services, const SerialDevices* devices);

  SettingsForm& Form() { return form_; }
  const SettingsForm& Form() const { return form_; }

  ControlState State(int control) const;
  // The tool tip of a control whose tip tells what is there now (the port box: the serial
  // devices present), made when it is asked for; nothing for the others.
  std::optional<std::string> LiveToolTip(int control) const;

  void Typed(int control, std::string text);
  void Ticked(int control, bool ticked);
  void Chosen(int control);  // an option button
  void Picked(int control, int position);
  // A button pressed; true when it closes the dialog.
  bool Pressed(int control);
  void DoubleClicked(int control);

 private:
  SettingsForm form_;
  const SerialDevices* devices_;
  const Regional& regional_;
};

}  // namespace tarnwell
