// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>
#include <vector>

#include "platform/ProcessStarter.h"

namespace tarnwell::testing {

// Records what would have been started; `fails` makes every start fail.
class FakeProcessStarter : public ProcessStarter {
 public:
  struct Started {
    std::string program;
    std::vector<std::string> arguments;
  };
  bool StartDetached(const std::string& program,
                     const std::vector<std::string>& arguments) override {
    if (fails) return false;
    started.push_back({program, arguments});
    return true;
  }
  std::vector<Started> started;
  bool fails = false;
};

}  // namespace tarnwell::testing
