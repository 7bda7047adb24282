// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <functional>
#include <optional>
#include <string>

#include "acquisition/FrameHandler.h"
#include "acquisition/PortControl.h"
#include "acquisition/ReceiveState.h"
#include "config/AppConfig.h"
#include "i18n/LangTable.h"
#include "platform/Clock.h"
#include "platform/MessageBox.h"
#include "platform/SerialPort.h"

namespace tarnwell {

// The listening side of the link to the indicator: opens the port, cuts the stream into frames
// at CR or ETX and hands each to the frame handler with the instant it was read. Nothing is
// ever sent.
class SerialLink {
 public:
  // Characters kept when no terminator has come for this long; older ones are dropped.
  static constexpr std::size_t kMaxPending = 1024;
  static constexpr std::size_t kKeptPending = 256;

  SerialLink(SerialPort& port, PortControl& control, AppConfig& config, ReceiveState& state,
             FrameHandler& frames, const Clock& clock, const Regional& regional,
             MessageBox& messages, const LangTable& texts);

  // The trace fill asked for by the first frame after start-up (the graph's double click).
  void SetFirstFrameHandler(std::function<void()> handler) { firstFrame_ = std::move(handler); }
  // Told how many frames were dropped, where they were in the stream: those whose ends the port
  // dropped, and the one a loss cut once its end has come.
  void SetDroppedFramesHandler(std::function<void(std::size_t)> handler) {
    framesDropped_ = std::move(handler);
  }
  // Called before and after the frames of one hand-over are handled (the record file writes
  // their lines at once).
  void SetReadHandlers(std::function<void()> before, std::function<void()> after) {
    beforeFrames_ = std::move(before);
    afterFrames_ = std::move(after);
  }

  // Opens the port from CommPort and BaudIndex; a failure is shown with text 5 and the port
  // stays closed.
  void PortConfig();
  // The receive handler: takes what the port received and handles its frames.
  void OnPortEvent();
  // While held (during start-up) characters stay in the port until the next call.
  void SetHeld(bool held) { held_ = held; }

  // Resets the receive state for a fresh start.
  void ResetReceiveState();

  // Closes the port when it is open.
  void ClosePort();

 private:
  // Frame ends in rx_[from, end) read at `at`; `last` is the end of the last frame taken.
  void TakeFrames(std::size_t from, std::size_t end, Instant at, std::size_t& last);
  void Dropped(std::size_t frames);

  SerialPort& port_;
  PortControl& control_;
  bool held_ = false;
  AppConfig& config_;
  ReceiveState& state_;
  FrameHandler& frames_;
  const Clock& clock_;
  const Regional& regional_;
  MessageBox& messages_;
  const LangTable& texts_;
  std::function<void()> firstFrame_;
  std::function<void()> beforeFrames_;
  std::function<void()> afterFrames_;
  std::function<void(std::size_t)> framesDropped_;
  bool inHandler_ = false;
  // After an opening or lost characters, the characters up to the next terminator are the end
  // of a frame whose beginning is gone; after a loss, that frame was sent and is dropped.
  enum class Cut { kNone, kOpening, kLoss };
  Cut cut_ = Cut::kNone;
};

}  // namespace tarnwell
