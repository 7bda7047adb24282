// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <map>
#include <string>
#include <string_view>
#include <vector>

#include "platform/Twips.h"

class QButtonGroup;
class QDialog;
class QWidget;

namespace tarnwell {

// The settings dialog's widgets, made from SettingsDesign: names, text indices ("textIndex"
// property), Turkish design captions and tool tips, fonts and twip positions, each frame's
// controls its children. The language texts replace the captions when the dialog loads.
struct ChSettingsDesign {
  void Build(QDialog* dialog, const Twips& twips);
  // The widget of that name in SettingsDesign; none for a name it does not have.
  QWidget* Control(std::string_view name) const;

  std::vector<QWidget*> controls;               // by their position in SettingsDesign::Controls()
  std::map<std::string, QButtonGroup*> groups;  // the option groups, by name
};

}  // namespace tarnwell
