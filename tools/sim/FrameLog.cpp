// SPDX-License-Identifier: GPL-3.0-or-later
#include "sim/FrameLog.h"

namespace tarnwell::sim {

FrameLog::~FrameLog() {
  if (file_) std::fclose(file_);
}

bool FrameLog::Open(const std::string& path) {
  if (path.empty()) return true;
  file_ = std::fopen(path.c_str(), "w");
  return file_ != nullptr;
}

void FrameLog::Add(const std::string& frame, const std::string& prefix) {
  if (!file_) return;
  const std::string line = prefix + Printable(frame) + '\n';
  std::fwrite(line.data(), 1, line.size(), file_);
}

void FrameLog::Flush() {
  if (file_) std::fflush(file_);
}

std::string FrameLog::Printable(const std::string& text) {
  static const char kHex[] = "0123456789ABCDEF";
  std::string out;
  out.reserve(text.size());
  for (char c : text) {
    const auto byte = static_cast<unsigned char>(c);
    if (c == '\\') {
      out += "\\\\";
    } else if (byte >= 0x20 && byte < 0x7F) {
      out += c;
    } else {
      out += "\\x";
      out += kHex[byte >> 4];
      out += kHex[byte & 15];
    }
  }
  return out;
}

}  // namespace tarnwell::sim
