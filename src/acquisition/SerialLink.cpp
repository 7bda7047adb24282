// SPDX-License-Identifier: GPL-3.0-or-later
#include "acquisition/SerialLink.h"

#include <utility>

#include "config/NumberText.h"
#include "platform/SerialRefusals.h"

namespace tarnwell {

SerialLink::SerialLink(SerialPort& port, PortControl& control, const AppConfig& config,
                       FrameSink& sink, const Clock& clock, const Regional& regional,
                       MessageBox& messages, const LangTable& texts)
    : port_(port),
      control_(control),
      config_(config),
      sink_(sink),
      reader_(config, regional),
      clock_(clock),
      regional_(regional),
      messages_(messages),
      texts_(texts) {
  port_.SetOnComm([this] { OnPortEvent(); });
}

void SerialLink::PortConfig() {
  const auto fail = [this](const SerialError& e) { messages_.Show(SerialFailureText(texts_, e)); };
  const auto number = config_.PortNumber(regional_);
  const auto port = number ? ToInt16(*number) : std::nullopt;
  if (!port) return fail(InvalidPropertyValue());
  const BaudChoice baud = BaudFor(config_.BaudIndex);
  if (auto e = control_.SelectPort(*port)) return fail(*e);
  // Port 0 means no port is set: the link stays closed without a message.
  if (*port == 0) return;
  if (auto e = control_.SelectSpeed(baud.speed)) return fail(*e);
  if (auto e = control_.Open()) return fail(*e);
}

void SerialLink::ResetReceiveState() {
  state_.AwaitingFirstFrame = true;
  state_.SecondStampTime = clock_.Now();
  state_.SecondStamp = DateTimeText(clock_.Local(state_.SecondStampTime), regional_);
  state_.RxBuffer.clear();
}

void SerialLink::ClosePort() { control_.Close(); }

void SerialLink::OnPortEvent() {
  // Should a handler ever run an event loop, a call from inside it must not touch the buffer
  // being cut; the characters stay in the port for the next call.
  if (held_ || inHandler_) return;
  inHandler_ = true;
  struct Leave {
    bool& flag;
    ~Leave() { flag = false; }
  } leave{inHandler_};

  using std::chrono::floor, std::chrono::seconds;
  const Instant now = clock_.Now();
  // A clock set back must not freeze the figure until it has caught up again, so any change of
  // second rolls over.
  if (floor<seconds>(now) != floor<seconds>(state_.SecondStampTime)) {
    state_.SecondStampTime = now;
    state_.SecondStamp = DateTimeText(clock_.Local(now), regional_);
    state_.FramesPerSecond = state_.FrameCount;
    state_.FrameCount = 0;
  }

  const Received in = port_.Input();
  if (in.reads.empty()) return;
  std::string& rx = state_.RxBuffer;
  const std::size_t base = rx.size();
  rx += in.chars;
  sink_.HandOverStarts();
  std::size_t last = 0;
  std::size_t from = base;
  for (const LineRead& read : in.reads) {
    const std::size_t end = base + read.end;
    // A frame cut off where the device was opened again or characters were lost must not run
    // into what follows. The characters up to the next terminator are the rest of a frame whose
    // beginning is gone: after an opening too, since the device sends whether or not it is open.
    if (read.follows != LineRead::Follows::kLine) {
      last = from;
      cut_ = read.follows == LineRead::Follows::kLoss ? Cut::kLoss : Cut::kOpening;
    }
    if (read.framesDropped > 0) sink_.FramesLost(read.framesDropped);
    TakeFrames(from, end, read.at, last);
    from = end;
  }
  sink_.HandOverEnds();
  rx.erase(0, last);
  // A device that never sends a terminator must not make the buffer grow without end.
  if (rx.size() > kMaxPending) rx.erase(0, rx.size() - kKeptPending);
}

void SerialLink::TakeFrames(std::size_t from, std::size_t end, Instant at, std::size_t& last) {
  const std::string& rx = state_.RxBuffer;
  for (std::size_t i = from + 1; i <= end; ++i) {
    if (!EndsFrame(rx[i - 1])) continue;
    if (const Cut cut = std::exchange(cut_, Cut::kNone); cut != Cut::kNone) {
      if (cut == Cut::kLoss) sink_.FramesLost(1);
      last = i;
      continue;
    }
    sink_.Frame(reader_.Read(rx, last + 1, i, at));
    state_.FrameCount += 1;
    if (state_.AwaitingFirstFrame) {
      sink_.FirstFrame();
      state_.AwaitingFirstFrame = false;
    }
    last = i;
  }
}

}  // namespace tarnwell
