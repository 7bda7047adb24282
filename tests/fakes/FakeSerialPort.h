// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <functional>
#include <optional>
#include <set>
#include <string>

#include "platform/SerialPort.h"

namespace tarnwell::testing {

// A scripted serial control: the test says which ports exist, pushes characters and line
// conditions, and can pull the cable.
class FakeSerialPort : public SerialPort {
 public:
  std::optional<SerialError> SetCommPort(std::int16_t port) override {
    if (open) return SerialError{8005, "Port already open"};
    if (port < 1) return SerialError{8002, "Invalid port number"};
    commPort = port;
    return std::nullopt;
  }
  std::int16_t CommPort() const override { return commPort; }
  std::optional<SerialError> SetSettings(const std::string& s) override {
    settings = s;
    return std::nullopt;
  }
  std::string Settings() const override { return settings; }
  bool PortOpen() const override { return open; }
  std::optional<SerialError> SetPortOpen(bool o) override {
    if (o && !open && !ports.count(commPort)) return SerialError{8002, "Invalid port number"};
    if (!o && open && closeFails) return SerialError{8020, "Error reading comm device"};
    if (o && !open) ++opens;
    open = o;
    return std::nullopt;
  }
  std::int16_t CommEvent() const override { return event; }
  std::string Input() override {
    std::string s;
    s.swap(pending);
    return s;
  }
  void SetOnComm(std::function<void()> h) override { handler = std::move(h); }
  std::uint32_t Openings() const override { return static_cast<std::uint32_t>(opens); }
  void SetMaxWait(int ms) override { maxWait = ms; }

  // Delivers characters as one receive event.
  void Receive(const std::string& chars) {
    pending += chars;
    Raise(comm::kReceive);
  }
  void Raise(std::int16_t code) {
    event = code;
    if (handler) handler();
  }

  std::set<int> ports{1, 2, 3};
  std::int16_t commPort = 1;
  std::string settings = "9600,n,8,1";
  bool open = false;
  bool closeFails = false;
  int opens = 0;
  std::int16_t event = 0;
  std::string pending;
  int maxWait = 0;
  std::function<void()> handler;
};

}  // namespace tarnwell::testing
