// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <functional>

#include "acquisition/PortControl.h"
#include "acquisition/SampleHistory.h"
#include "config/AppConfig.h"
#include "i18n/LangTable.h"
#include "platform/Clock.h"
#include "platform/FileSystem.h"
#include "platform/MessageBox.h"
#include "platform/ProcessStarter.h"
#include "platform/Regional.h"
#include "platform/Timer.h"

namespace tarnwell {

// The parts of the running program the settings dialog reads and changes. All of them belong
// to the main window and outlive the dialog.
struct SettingsServices {
  AppConfig& config;
  PortControl& ports;
  Timer& recordTimer;
  SampleHistory& history;
  MessageBox& messages;
  const LangTable& lang;
  const Clock& clock;
  const Regional& regional;
  FileSystem& files;
  ProcessStarter& processes;
  // Sets the update cycle's period from AppConfig.Performance.
  std::function<void()> SetRefreshRate;
  // Rewrites config.ini; false when the file could not be written.
  std::function<bool()> WriteConfig;
  // Forgets the record writer's last recorded value, so the dead band starts afresh.
  std::function<void()> ResetLastLogValue;
};

}  // namespace tarnwell
