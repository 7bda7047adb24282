// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <string>

namespace tarnwell::sim {

struct SimStats {
  std::int64_t framesWritten = 0;
  // Frames sent while nobody listened, while unplugged, or cut short by a full line.
  std::int64_t framesUndelivered = 0;
  // Frames written whole that a reader had not taken when the device was pulled or the last
  // reader closed it: they are counted in framesWritten and in the log, but never arrived.
  std::int64_t framesTakenBack = 0;
  std::int64_t garbageBursts = 0;
  std::int64_t runawayChars = 0;
  std::int64_t bytesWritten = 0;
  std::int64_t unplugs = 0;
  double seconds = 0;

  // One key=value a line.
  std::string Text() const;
  std::string Summary() const;
};

// Written beside `path` and renamed over it, so a reader never sees half of it.
bool WriteWholeFile(const std::string& path, const std::string& text);

}  // namespace tarnwell::sim
