// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/SerialRefusals.h"

namespace tarnwell::testing {
namespace {

std::string Told(const std::optional<SerialError>& e) {
  return e ? std::to_string(e->number) + ":" + e->description : "taken";
}

// The port changes only while closed, and never to one below 1; an open port says so first.
TEST(SerialRefusals, PortNumberOnlyWhileClosedAndFromOne) {
  std::vector<std::string> told;
  for (const auto& [open, port] : std::vector<std::pair<bool, std::int16_t>>{
           {false, 1}, {false, 99}, {false, 0}, {false, -1}, {true, 5}, {true, 0}}) {
    told.push_back(Told(PortNumberRefusal(open, port)));
  }
  EXPECT_EQ(told, (std::vector<std::string>{"taken", "taken", "8002:Invalid port number",
                                            "8002:Invalid port number", "8005:Port already open",
                                            "8005:Port already open"}));
}

// The speed is the number before the first comma, from 1 to 4000000 bit/s.
TEST(SerialRefusals, SpeedIsTheLeadingNumberOfTheSettings) {
  std::vector<int> speeds;
  for (const char* settings : {"9600,n,8,1", "921600", " 300,n,8,1", "4000000,n,8,1",
                               "4000001,n,8,1", "0,n,8,1", "-9600,n,8,1", "n,8,1", ""}) {
    speeds.push_back(SettingsSpeed(settings).value_or(-1));
  }
  EXPECT_EQ(speeds, (std::vector<int>{9600, 921600, 300, 4000000, -1, -1, -1, -1, -1}));
  EXPECT_EQ(Told(InvalidPropertyValue()), "380:Invalid property value");
}

}  // namespace
}  // namespace tarnwell::testing
