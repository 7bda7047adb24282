// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>
#include <vector>

#include "platform/ProcessStarter.h"

namespace tarnwell::testing {

// Notes each start as "<program> <arguments...>"; `fails` makes every start fail.
class FakeProcessStarter : public ProcessStarter {
 public:
  bool StartDetached(const std::string& program,
                     const std::vector<std::string>& arguments) override {
    if (fails) return false;
    started += program;
    for (const std::string& argument : arguments) started += " " + argument;
    return true;
  }
  std::string started;
  bool fails = false;
};

}  // namespace tarnwell::testing
