// SPDX-License-Identifier: GPL-3.0-or-later
#include "sim/FrameMaker.h"

#include <cmath>
#include <cstdio>

namespace tarnwell::sim {

FrameMaker::FrameMaker(const SimOptions& options)
    : kind_(options.frame),
      decimals_(options.decimals),
      width_(options.Width()),
      zeros_(options.zeros),
      prefix_(options.prefix),
      unit_(options.unit) {
  switch (options.terminator) {
    case Terminator::kCr:
      terminator_ = "\r";
      break;
    case Terminator::kCrLf:
      terminator_ = "\r\n";
      break;
    case Terminator::kEtx:
      terminator_ = "\x03";
      break;
  }
}

std::string FrameMaker::SignedNumber(double value, int decimals, int width, bool zeros) {
  char digits[64];
  std::snprintf(digits, sizeof digits, "%.*f", decimals, std::fabs(value));
  std::string number = digits;
  // A reading that rounds to zero is sent as plus zero, as indicators do.
  const bool negative = value < 0 && number.find_first_not_of("0.") != std::string::npos;
  if (static_cast<int>(number.size()) < width) {
    number.insert(0, static_cast<std::size_t>(width) - number.size(), zeros ? '0' : ' ');
  }
  return (negative ? "-" : "+") + number;
}

std::string FrameMaker::Frame(double value) {
  const std::string number = SignedNumber(value, decimals_, width_, zeros_);
  std::string frame = prefix_;
  if (kind_ == FrameKind::kFixed) {
    frame += number == lastNumber_ ? "ST,GS," : "US,GS,";
    frame += number;
    frame += unit_;
  } else {
    frame += number;
  }
  lastNumber_ = number;
  return frame;
}

}  // namespace tarnwell::sim
