// SPDX-License-Identifier: GPL-3.0-or-later
#include "acquisition/SerialLink.h"

#include "config/NumberText.h"
#include "i18n/TextIndex.h"

namespace tarnwell {

int BaudLookup(const std::string& baudIndex, int* usedIndex) {
  for (int i = 0; i < static_cast<int>(BaudTable.size()); ++i) {
    if (baudIndex == std::to_string(i)) {
      *usedIndex = i;
      return BaudTable[static_cast<std::size_t>(i)];
    }
  }
  *usedIndex = 3;
  return 9600;
}

std::string PortSettings(int speed) { return std::to_string(speed) + ",n,8,1"; }

SerialLink::SerialLink(SerialPort& port, AppConfig& config, ReceiveState& state,
                       FrameHandler& frames, const Clock& clock, const Regional& regional,
                       MessageBox& messages, const LangTable& texts)
    : port_(port),
      config_(config),
      state_(state),
      frames_(frames),
      clock_(clock),
      regional_(regional),
      messages_(messages),
      texts_(texts) {
  port_.SetOnComm([this] { MSComm1_OnComm(); });
}

std::string SerialLink::FailureText(const SerialError& error) const {
  return texts_.Text(text::kSerialFailure) + "  " + std::to_string(error.number) + ":" +
         error.description;
}

void SerialLink::PortConfig() {
  const auto fail = [this](const SerialError& e) { messages_.Show(FailureText(e)); };
  const auto number = config_.CommPort.AsNumber(regional_);
  const auto port = number ? ToInt16(*number) : std::nullopt;
  if (!port) return fail(SerialError{380, "Invalid property value"});
  int used = 3;
  const int speed = BaudLookup(config_.BaudIndex, &used);
  config_.BaudIndex = std::to_string(used);
  // Port 0 means no port is set: the link stays closed without a message.
  if (*port == 0) return;
  if (auto e = port_.SetCommPort(*port)) return fail(*e);
  if (auto e = port_.SetSettings(PortSettings(speed))) return fail(*e);
  if (auto e = port_.SetPortOpen(true)) return fail(*e);
}

void SerialLink::ResetReceiveState() {
  state_.FirstFrame = 1;
  state_.SecondStampTime = clock_.LocalNow();
  state_.SecondStamp = DateTimeText(state_.SecondStampTime, regional_);
  state_.RxBuffer.clear();
}

void SerialLink::ClosePort() {
  if (port_.PortOpen()) port_.SetPortOpen(false);
}

std::optional<SerialError> SerialLink::OpenPort() {
  if (port_.PortOpen()) return std::nullopt;
  // Port 0 means no port is set; resuming must not open whatever the control last held.
  if (config_.CommPort.Equals(regional_, 0)) return std::nullopt;
  return port_.SetPortOpen(true);
}

void SerialLink::MSComm1_OnComm() {
  // A message box shown from inside the handler runs the event loop; an event delivered then
  // must not touch the buffer being cut. Its characters stay in the port for the next event.
  if (inHandler_) return;
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
  const DateTime now = clock_.LocalNow();
  // A clock set back must not freeze the figure until it has caught up again, so any change of
  // second rolls over.
  if (SecondsBetween(state_.SecondStampTime, now) != 0) {
    state_.SecondStampTime = now;
    state_.SecondStamp = DateTimeText(now, regional_);
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
    frames_.HandleFrame(rx, last + 1, i);
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
