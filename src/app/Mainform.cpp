// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/Mainform.h"

#include <algorithm>
#include <cmath>

#include "config/NumberText.h"
#include "graph/TracePlot.h"
#include "i18n/LanguageFile.h"
#include "i18n/TextIndex.h"

namespace tarnwell {

std::string AlreadyRunningMessage(const std::string& dataFolder) {
  return "Tarnwell is already running in " + dataFolder +
         ". This start ends without opening the port or recording.";
}

Mainform::Mainform(Platform platform, MainView& view, Version version)
    : platform_(platform), view_(view), version_(version) {
  const Regional& r = platform_.regional;
  ports_ = std::make_unique<PortControl>(platform_.port);
  graph_ = std::make_unique<GraphController>(
      config_, history_, view_.GraphPicture(), r,
      [this](const Value& min, double max) { config_.GraphMin = min, config_.GraphMax = max; });
  recording_ = std::make_unique<RecordingControl>(config_, history_, platform_.files,
                                                  platform_.clock, r, platform_.messages, texts_,
                                                  [this] { graph_->ResetTrace(); });
  // The route of every reading: the link cuts and reads frames, the route sends each on.
  route_ = std::make_unique<ReadingRoute>(config_, history_, *recording_, platform_.port,
                                          platform_.refreshTimer, [this] { graph_->ResetTrace(); });
  link_ = std::make_unique<SerialLink>(platform_.port, *ports_, config_, *route_, platform_.clock,
                                       r, platform_.messages, texts_);
  link_->SetHeld(true);
  presenter_ = std::make_unique<DisplayPresenter>(
      config_, link_->Receive(), *route_, history_, view_,
      [this](const GraphRange& range, double span) { DrawGraph(range, span); },
      platform_.refreshTimer, r);
  configFile_ = std::make_unique<ConfigFile>(config_, *this, view_, platform_.files,
                                             platform_.messages, platform_.clock, r);

  // Nothing may be handled before the start-up sequence has finished.
  platform_.refreshTimer.SetEnabled(false);
  platform_.stabilityTimer.SetEnabled(false);
  platform_.refreshTimer.SetInterval(100);
  platform_.stabilityTimer.SetInterval(100);
  platform_.recordTimer.SetInterval(0);
  platform_.refreshTimer.SetHandler([this] { presenter_->OnRefreshTick(); });
  platform_.stabilityTimer.SetHandler([this] { recording_->OnStabilityTick(); });
  platform_.recordTimer.SetHandler([this] { recording_->RunWriter(); });
}

Mainform::~Mainform() = default;

bool Mainform::StartUp() {
  const Regional& r = platform_.regional;
  history_.Resize(50);
  configFile_->ReadConfig();
  if (!ReadLanguage()) {
    // The window is unloaded as at any end: config.ini keeps the fallback to the standard file.
    ShutDown();
    loading_ = false;
    view_.CloseWindow();
    return false;
  }
  view_.ApplyFormTexts(texts_);
  // Zoom mode starts off; its button exists only in advanced mode.
  if (config_.AdvancedMode) view_.SetZoomButtonVisible(true);
  // The stored index is the one the port opens with.
  config_.BaudIndex = std::to_string(BaudFor(config_.BaudIndex).index);
  link_->PortConfig();
  view_.SetCurrentCaption("0");
  platform_.recordTimer.SetInterval(RecordTimerIntervalMs(config_.LogTime));
  config_.NofSamples = SampleHistory::CountFromFile(config_.NofSamples);
  history_.Resize(SampleHistory::UpperIndexFor(config_.NofSamples));
  view_.SetCaption(view_.Caption() + " v" + std::to_string(version_.major) + "." +
                   std::to_string(version_.minor) + "." + std::to_string(version_.revision));
  history_.SetSampleIndex(0);
  view_.GraphPicture();
  graph_->DrawGuideLines();
  link_->ResetReceiveState();
  if (config_.LogFileName.empty()) recording_->SetNewLogFileName();
  view_.ResizeWindow(config_.OuterWidth(r), config_.OuterHeight(r));
  config_.WindowWidth = Value::Single(view_.WindowWidth());
  config_.WindowHeight = Value::Single(view_.WindowHeight());
  if (config_.RecordsAtStartup(r)) recording_->StartRecording();
  graph_->ResetPointer();
  route_->PaceReads();

  loading_ = false;
  link_->SetHeld(false);
  platform_.refreshTimer.SetEnabled(true);
  platform_.stabilityTimer.SetEnabled(true);
  return true;
}

bool Mainform::ReadLanguage() {
  return ReadLanguageFile(config_, texts_, platform_.files, platform_.messages, platform_.regional,
                          platform_.codePages);
}

bool Mainform::ShutDown() {
  // Run again while a message box of the first run waits (a termination request), it closes
  // what the first has not reached yet.
  if (!unloaded_) {
    unloaded_ = true;
    if (unloadSettings_) unloadSettings_();
    // Before the settings are read, the file on disk is all there is: it stays as it is. Until
    // start-up has sized the window, the window's fields are written as they were read.
    if (configFile_->Loaded()) saved_ = configFile_->WriteConfig(!loading_) && saved_;
  }
  saved_ = recording_->Close() && saved_;
  link_->ClosePort();
  platform_.refreshTimer.SetEnabled(false);
  platform_.recordTimer.SetEnabled(false);
  platform_.stabilityTimer.SetEnabled(false);
  return saved_;
}

// A port that cannot be opened on resuming is named with its cause; the program goes on as the
// unticked box says, and the port looks for its device until it comes (as after a pull).
void Mainform::SetSuspended(bool checked) {
  if (checked) {
    platform_.refreshTimer.SetEnabled(false);
    ports_->Suspend();
    platform_.recordTimer.SetEnabled(false);
    return;
  }
  const auto error = ports_->Resume();
  platform_.refreshTimer.SetEnabled(true);
  platform_.recordTimer.SetEnabled(true);
  if (error) platform_.messages.Show(SerialFailureText(texts_, *error));
}

void Mainform::DrawGraph(const GraphRange& range, double span) {
  PlotInputs in{history_,
                config_,
                route_->ValueFormat(),
                platform_.regional,
                range,
                span,
                graph_->GraphMouseX(),
                graph_->GraphMouseY(),
                [this] { graph_->DrawGuideLines(); }};
  TracePlot::Draw(in, view_.GraphPicture(), view_.XaxisPicture(), view_.TestPicture());
  view_.ShowPlot();
}

void Mainform::ZoomButtonPressed(MouseButton button) {
  graph_->ZoomButtonPressed(button);
  view_.SetPointerStyle(graph_->MousePointer());
}

SettingsServices Mainform::Settings(ProcessStarter& processes) {
  return SettingsServices{config_,
                          *ports_,
                          platform_.recordTimer,
                          history_,
                          platform_.messages,
                          texts_,
                          platform_.clock,
                          platform_.regional,
                          platform_.files,
                          processes,
                          [this] { SetRefreshRate(); },
                          [this] { return configFile_->WriteConfig(); },
                          [this] { ResetLastLogValue(); }};
}

void Mainform::SetRefreshRate() { presenter_->SetRefreshRate(); }

void Mainform::ResetLastLogValue() { recording_->ResetLastLogValue(); }

void Mainform::SetNewLogFileName() { recording_->SetNewLogFileName(); }

}  // namespace tarnwell
