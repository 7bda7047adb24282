// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>
#include <vector>

#include "platform/MessageBox.h"

namespace tarnwell::testing {

struct FakeMessageBox : MessageBox {
  struct Shown {
    std::string text, title;
  };
  void Show(const std::string& text, const std::string& title) override {
    shown.push_back({text, title});
  }
  std::vector<Shown> shown;
};

}  // namespace tarnwell::testing
