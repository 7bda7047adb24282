// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>

namespace tarnwell {

// Message boxes with an OK button only. Texts are UTF-8. Returns when the operator has
// pressed OK.
class MessageBox {
 public:
  virtual ~MessageBox() = default;
  // An empty title gives the program's title.
  virtual void Show(const std::string& text, const std::string& title = {}) = 0;
};

}  // namespace tarnwell
