// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdio>
#include <string>

namespace tarnwell::sim {

// The frames a reader was given, one a line, so a test can set them beside what arrived.
class FrameLog {
 public:
  FrameLog() = default;
  ~FrameLog();
  FrameLog(const FrameLog&) = delete;
  FrameLog& operator=(const FrameLog&) = delete;

  // An empty path keeps the log off; false when the file cannot be made.
  bool Open(const std::string& path);
  // `prefix` goes before the frame as it is.
  void Add(const std::string& frame, const std::string& prefix = {});
  void Flush();

  // Backslash as "\\", bytes outside printable ASCII as "\xHH".
  static std::string Printable(const std::string& text);

 private:
  std::FILE* file_ = nullptr;
};

}  // namespace tarnwell::sim
