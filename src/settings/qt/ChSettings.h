// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDialog>
#include <QPointer>
#include <functional>

#include "platform/SerialDevices.h"
#include "platform/Twips.h"
#include "settings/EscapeGuard.h"
#include "settings/SettingsView.h"
#include "settings/qt/ChSettingsDesign.h"

namespace tarnwell {

// The settings dialog window: modeless, without owner, one at a time. It forwards every change
// the operator makes to SettingsView and shows the controls' states after it; it holds no
// settings of its own. Closing it (Exit, Esc, the title bar) deletes it.
class ChSettings : public QDialog {
  Q_OBJECT

 public:
  // Gives a window's controls their language texts by their "textIndex" property.
  using ApplyTexts = std::function<void(QWidget*)>;

  // `devices`, when given, tells which device the typed port number opens; it outlives the dialog.
  ChSettings(const SettingsServices& services, ApplyTexts applyTexts, const Twips& twips,
             const SerialDevices* devices = nullptr);

  // TheSetup: creates and loads the dialog when `slot` holds none that is shown, placing it
  // beside `owner`; else only brings the open one forward, keeping its unsaved edits.
  static ChSettings* ShowOrRaise(QPointer<ChSettings>& slot, const SettingsServices& services,
                                 const ApplyTexts& applyTexts, const QWidget* owner = nullptr,
                                 const SerialDevices* devices = nullptr);

  const SettingsForm& Form() const { return view_.Form(); }

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;

 private:
  void Connect();
  void ShowState();
  void Show(int control);

  SettingsView view_;
  ChSettingsDesign ui_;
  EscapeGuard escape_;
};

}  // namespace tarnwell
