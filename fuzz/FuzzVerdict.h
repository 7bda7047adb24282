// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

namespace tarnwell::fuzz {

inline std::string_view Bytes(const std::uint8_t* data, std::size_t size) {
  return {reinterpret_cast<const char*>(data), size};
}

// A broken check is a finding: the fuzzer keeps the input when the process aborts.
inline void Verdict(const std::string& broken) {
  if (broken.empty()) return;
  std::fprintf(stderr, "check failed: %s\n", broken.c_str());
  std::abort();
}

}  // namespace tarnwell::fuzz
