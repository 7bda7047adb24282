// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <functional>
#include <memory>
#include <string>

#include "acquisition/ReadingRoute.h"
#include "acquisition/SampleHistory.h"
#include "acquisition/SerialLink.h"
#include "app/DisplayPresenter.h"
#include "app/MainView.h"
#include "config/AppConfig.h"
#include "config/ConfigFile.h"
#include "graph/GraphController.h"
#include "i18n/LangTable.h"
#include "platform/Clock.h"
#include "platform/CodePages.h"
#include "platform/DrawList.h"
#include "platform/FileSystem.h"
#include "platform/MessageBox.h"
#include "platform/SerialPort.h"
#include "platform/Timer.h"
#include "recording/RecordingControl.h"
#include "settings/SettingsServices.h"

namespace tarnwell {

// The platform services the program runs on.
struct Platform {
  SerialPort& port;
  const Clock& clock;
  FileSystem& files;
  MessageBox& messages;
  Regional regional;
  Timer& refreshTimer;
  Timer& recordTimer;
  Timer& stabilityTimer;
  const CodePages& codePages;
};

// The program version shown in the caption.
struct Version {
  int major = 0;
  int minor = 0;
  int revision = 0;
};

inline constexpr const char* kDesignCaption = "Vornel-> Tarnwell";

// What a second start on the same data folder says before it ends: a second program there would
// share its record file, port and config.ini.
std::string AlreadyRunningMessage(const std::string& dataFolder);

// The program's state behind the main window: start-up, suspend and shutdown. Owns every
// program-wide object; the window only forwards events here.
class Mainform : public ConfigHooks {
 public:
  Mainform(Platform platform, MainView& view, Version version);
  ~Mainform() override;

  // The start-up sequence, run once before the window is first shown. False when the program
  // must end (no language file at all); config.ini is then written as at shutdown.
  bool StartUp();
  // The shutdown sequence: closes the settings dialog, writes config.ini, closes the record.
  // False when config.ini or a record line could not be saved, in this run of it or an earlier.
  bool ShutDown();
  // The suspend switch: checked stops the timers and closes the port; unchecked resumes.
  void SetSuspended(bool checked);

  // True from construction until StartUp has finished; no event is handled before.
  bool Loading() const { return loading_; }

  void SetUnloadSettings(std::function<void()> unload) { unloadSettings_ = std::move(unload); }

  // What the settings window reads and changes; `processes` opens the record folder.
  SettingsServices Settings(ProcessStarter& processes);
  const LangTable& Texts() const { return texts_; }
  // The graph's mouse events.
  GraphController& Graph() { return *graph_; }
  // Is a recording running: the one answer for the display, the frames and the record timer.
  bool Recording() const { return recording_->Recording(); }
  // Forces the record file's lines to the disk; run once a second.
  void FlushRecord() { recording_->Flush(); }

  // The zoom button; the window shows the pointer that zoom mode asks for.
  void ZoomButtonPressed(MouseButton button);

  // ConfigHooks
  void SetRefreshRate() override;
  void ResetLastLogValue() override;
  void SetNewLogFileName() override;

 private:
  void DrawGraph(const GraphRange& range, double span);
  bool ReadLanguage();

  Platform platform_;
  MainView& view_;
  Version version_;
  bool loading_ = true;

  AppConfig config_;
  LangTable texts_;
  SampleHistory history_;
  bool unloaded_ = false;
  bool saved_ = true;

  std::unique_ptr<PortControl> ports_;
  std::unique_ptr<GraphController> graph_;
  std::unique_ptr<RecordingControl> recording_;
  std::unique_ptr<ReadingRoute> route_;
  std::unique_ptr<SerialLink> link_;
  std::unique_ptr<DisplayPresenter> presenter_;
  std::unique_ptr<ConfigFile> configFile_;
  std::function<void()> unloadSettings_;
};

}  // namespace tarnwell
