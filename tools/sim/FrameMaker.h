// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>

#include "sim/SimOptions.h"

namespace tarnwell::sim {

// Turns readings into the indicator's frame text. The status of a fixed frame follows the
// text of the frame before it: "ST" when the reading shows unchanged, "US" otherwise.
class FrameMaker {
 public:
  explicit FrameMaker(const SimOptions& options);

  // The frame without its terminator.
  std::string Frame(double value);
  const std::string& Terminator() const { return terminator_; }

  // The reading as sent: sign, then the number right-aligned in `width` characters.
  static std::string SignedNumber(double value, int decimals, int width, bool zeros);

 private:
  FrameKind kind_;
  int decimals_;
  int width_;
  bool zeros_;
  std::string prefix_;
  std::string unit_;
  std::string terminator_;
  std::string lastNumber_;
};

}  // namespace tarnwell::sim
