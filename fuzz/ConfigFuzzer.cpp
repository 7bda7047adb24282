// SPDX-License-Identifier: GPL-3.0-or-later
#include "FuzzEntries.h"
#include "FuzzVerdict.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  tarnwell::fuzz::Verdict(tarnwell::fuzz::FuzzConfig(tarnwell::fuzz::Bytes(data, size)));
  return 0;
}
