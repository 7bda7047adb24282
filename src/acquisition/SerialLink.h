// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <optional>
#include <string>

#include "acquisition/FrameReader.h"
#include "acquisition/PortControl.h"
#include "acquisition/ReceiveState.h"
#include "config/AppConfig.h"
#include "i18n/LangTable.h"
#include "platform/Clock.h"
#include "platform/MessageBox.h"
#include "platform/SerialPort.h"

namespace tarnwell {

// The listening side of the link to the indicator: opens the port, cuts the stream into frames
// at CR or ETX, reads each at the instant its end was read and tells the sink, in the stream's
// order. Nothing is ever sent.
class SerialLink {
 public:
  // Characters kept when no terminator has come for this long; older ones are dropped.
  static constexpr std::size_t kMaxPending = 1024;
  static constexpr std::size_t kKeptPending = 256;

  SerialLink(SerialPort& port, PortControl& control, const AppConfig& config, FrameSink& sink,
             const Clock& clock, const Regional& regional, MessageBox& messages,
             const LangTable& texts);

  // Opens the port from CommPort and BaudIndex (an index out of the list opens at the speed
  // BaudFor gives); a failure is shown with text 5 and the port stays closed.
  void PortConfig();
  // The receive handler: takes what the port received and handles its frames.
  void OnPortEvent();
  // While held (during start-up) characters stay in the port until the next call.
  void SetHeld(bool held) { held_ = held; }

  // Resets the receive state for a fresh start.
  void ResetReceiveState();

  // Closes the port when it is open.
  void ClosePort();

  const ReceiveState& Receive() const { return state_; }

 private:
  // Frame ends in rx_[from, end) read at `at`; `last` is the end of the last frame taken.
  void TakeFrames(std::size_t from, std::size_t end, Instant at, std::size_t& last);

  SerialPort& port_;
  PortControl& control_;
  bool held_ = false;
  const AppConfig& config_;
  FrameSink& sink_;
  FrameReader reader_;
  ReceiveState state_;
  const Clock& clock_;
  const Regional& regional_;
  MessageBox& messages_;
  const LangTable& texts_;
  bool inHandler_ = false;
  // After an opening or lost characters, the characters up to the next terminator are the end
  // of a frame whose beginning is gone; after a loss, that frame was sent and is dropped.
  enum class Cut { kNone, kOpening, kLoss };
  Cut cut_ = Cut::kNone;
};

}  // namespace tarnwell
