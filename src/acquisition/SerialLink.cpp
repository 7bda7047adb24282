// SPDX-License-Identifier: GPL-3.0-or-later
#include "acquisition/SerialLink.h"

#include "config/NumberText.h"
#include "i18n/TextIndex.h"

namespace tarnwell {

SerialLink::SerialLink(SerialPort& port, PortControl& control, AppConfig& config,
                       ReceiveState& state, FrameHandler& frames, const Clock& clock,
                       const Regional& regional, MessageBox& messages, const LangTable& texts)
    : port_(port),
      control_(control),
      config_(config),
      state_(state),
      frames_(frames),
      clock_(clock),
      regional_(regional),
      messages_(messages),
      texts_(texts) {
  port_.SetOnComm([this] { MSComm1_OnComm(); });
}

void SerialLink::PortConfig() {
  const auto fail = [this](const SerialError& e) { messages_.Show(SerialFailureText(texts_, e)); };
  const auto number = config_.PortNumber(regional_);
  const auto port = number ? ToInt16(*number) : std::nullopt;
  if (!port) return fail(SerialError{380, "Invalid property value"});
  const BaudChoice baud = BaudFor(config_.BaudIndex);
  config_.BaudIndex = std::to_string(baud.index);
  if (auto e = control_.SelectPort(*port)) return fail(*e);
  // Port 0 means no port is set: the link stays closed without a message.
  if (*port == 0) return;
  if (auto e = control_.SelectSpeed(baud.speed)) return fail(*e);
  if (auto e = control_.Open()) return fail(*e);
}

void SerialLink::ResetReceiveState() {
  state_.FirstFrame = 1;
  state_.SecondStampTime = clock_.Now();
  state_.SecondStamp = DateTimeText(clock_.Local(state_.SecondStampTime), regional_);
  state_.RxBuffer.clear();
}

void SerialLink::ClosePort() { control_.Close(); }

std::optional<SerialError> SerialLink::OpenPort() { return control_.Open(); }

void SerialLink::MSComm1_OnComm() {
  // A message box shown from inside the handler runs the event loop; an event delivered then
  // must not touch the buffer being cut. Its characters stay in the port for the next event.
  if (held_ || inHandler_) return;
  inHandler_ = true;
  struct Leave {
    bool& flag;
    ~Leave() { flag = false; }
  } leave{inHandler_};
  switch (port_.CommEvent()) {
    case comm::kBreak:
      if (port_.PortOpen()) {
        port_.SetPortOpen(false);
        port_.SetPortOpen(true);
      }
      break;
    case comm::kFrame:
    case comm::kOverrun:
    case comm::kRxOver:
    case comm::kRxParity:
    case comm::kDcb:
      port_.Input();
      break;
    case comm::kReceive:
      Receive();
      break;
    default:
      break;
  }
}

void SerialLink::Receive() {
  using std::chrono::floor, std::chrono::seconds;
  // One reading of the clock for all frames of this read.
  const Instant now = clock_.Now();
  // A clock set back must not freeze the figure until it has caught up again, so any change of
  // second rolls over.
  if (floor<seconds>(now) != floor<seconds>(state_.SecondStampTime)) {
    state_.SecondStampTime = now;
    state_.SecondStamp = DateTimeText(clock_.Local(now), regional_);
    state_.FramesPerSecond = state_.FrameCount;
    state_.FrameCount = 0;
  }

  std::string& rx = state_.RxBuffer;
  // A frame cut off when the device went must not run into the first one of the new stream.
  if (const std::uint32_t openings = port_.Openings(); openings != openings_) {
    openings_ = openings;
    rx.clear();
  }
  rx += port_.Input();
  if (rx.empty()) return;

  if (beforeFrames_) beforeFrames_();
  std::size_t last = 0;
  const std::size_t n = rx.size();
  for (std::size_t i = 1; i <= n; ++i) {
    const char c = rx[i - 1];
    if (c != '\r' && c != '\x03') continue;
    frames_.HandleFrame(rx, last + 1, i, now);
    state_.FrameCount += 1;
    if (state_.FirstFrame == 1) {
      if (firstFrame_) firstFrame_();
      state_.FirstFrame = 2;
    }
    last = i;
    state_.DataAlive = true;
    state_.SilentTicks = 0;
  }
  if (afterFrames_) afterFrames_();
  rx.erase(0, last);
  // A device that never sends a terminator must not make the buffer grow without end.
  if (rx.size() > kMaxPending) rx.erase(0, rx.size() - kKeptPending);
}

}  // namespace tarnwell
