// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>

#include "i18n/TextControl.h"

namespace tarnwell {

// A loaded window with its controls in the window's control order.
class TextForm {
 public:
  virtual ~TextForm() = default;
  // The window's own text index; empty when its title is not translated.
  virtual std::string TextIndex() const = 0;
  virtual void SetTitle(const std::string& text) = 0;
  virtual int ControlCount() const = 0;
  virtual TextControl& Control(int index) = 0;
};

}  // namespace tarnwell
