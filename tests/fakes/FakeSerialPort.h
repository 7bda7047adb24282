// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <functional>
#include <optional>
#include <set>
#include <string>
#include <utility>

#include "platform/Clock.h"
#include "platform/SerialPort.h"
#include "platform/SerialRefusals.h"

namespace tarnwell::testing {

// A scripted serial control: the test says which ports exist, pushes reads and gaps, and can
// pull the cable. Reads are stamped by `clock` when one is given.
class FakeSerialPort : public SerialPort {
 public:
  std::optional<SerialError> SetCommPort(std::int16_t port) override {
    if (auto refused = PortNumberRefusal(open, port)) return refused;
    return commPort = port, std::nullopt;
  }
  std::int16_t CommPort() const override { return commPort; }
  std::optional<SerialError> SetSettings(const std::string& s) override {
    if (!SettingsSpeed(s)) return InvalidPropertyValue();
    return settings = s, std::nullopt;
  }
  std::string Settings() const override { return settings; }
  bool PortOpen() const override { return open; }
  std::optional<SerialError> SetPortOpen(bool o) override {
    if (o && !open && !ports.count(commPort)) return InvalidPortNumber();
    if (!o && open && closeFails) return SerialError{8020, "Error reading comm device"};
    if (o && !open) ++opens, next = LineRead::Follows::kOpening;
    return open = o, std::nullopt;
  }
  Received Input() override { return std::exchange(pending, {}); }
  void SetOnComm(std::function<void()> h) override { handler = std::move(h); }
  void SetMaxWait(int ms) override { maxWait = ms; }

  // One read that waits in the port.
  void Arrive(const std::string& chars) {
    pending.chars += chars;
    pending.reads.push_back({pending.chars.size(), clock ? clock->Now() : Instant{}, next,
                             std::exchange(framesDropped, 0)});
    next = LineRead::Follows::kLine;
  }
  // Calls the receive handler.
  void HandOver() { handler ? handler() : void(); }
  // One read, handed over at once.
  void Receive(const std::string& chars) { Arrive(chars), HandOver(); }
  // Characters are lost before the next read, the ends of `frames` among them.
  void Lose(std::size_t frames = 0) { next = LineRead::Follows::kLoss, framesDropped += frames; }

  std::set<int> ports{1, 2, 3};
  std::int16_t commPort = 1;
  std::string settings = "9600,n,8,1";
  bool open = false, closeFails = false;
  int opens = 0, maxWait = 0;
  Received pending;
  LineRead::Follows next = LineRead::Follows::kLine;
  std::size_t framesDropped = 0;
  const Clock* clock = nullptr;
  std::function<void()> handler;
};

}  // namespace tarnwell::testing
