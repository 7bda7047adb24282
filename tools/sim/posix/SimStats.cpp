// SPDX-License-Identifier: GPL-3.0-or-later
#include "sim/posix/SimStats.h"

#include <unistd.h>

#include <cstdio>

namespace tarnwell::sim {

std::string SimStats::Text() const {
  char seconds_text[32];
  std::snprintf(seconds_text, sizeof seconds_text, "%.3f", seconds);
  return "frames_written=" + std::to_string(framesWritten) +
         "\nframes_undelivered=" + std::to_string(framesUndelivered) +
         "\nframes_taken_back=" + std::to_string(framesTakenBack) +
         "\ngarbage_bursts=" + std::to_string(garbageBursts) +
         "\nrunaway_chars=" + std::to_string(runawayChars) +
         "\nbytes_written=" + std::to_string(bytesWritten) +
         "\nunplugs=" + std::to_string(unplugs) + "\nseconds=" + seconds_text + "\n";
}

std::string SimStats::Summary() const {
  char text[256];
  std::snprintf(text, sizeof text,
                "%lld frames written (%lld of them unread when the line went), %lld not "
                "delivered, %lld garbage bursts, %lld bytes in %.2f s",
                static_cast<long long>(framesWritten), static_cast<long long>(framesTakenBack),
                static_cast<long long>(framesUndelivered), static_cast<long long>(garbageBursts),
                static_cast<long long>(bytesWritten), seconds);
  return text;
}

bool WriteWholeFile(const std::string& path, const std::string& text) {
  const std::string temporary = path + ".new" + std::to_string(::getpid());
  std::FILE* file = std::fopen(temporary.c_str(), "w");
  if (!file) return false;
  const bool written = std::fwrite(text.data(), 1, text.size(), file) == text.size();
  if (std::fclose(file) != 0 || !written || std::rename(temporary.c_str(), path.c_str()) != 0) {
    std::remove(temporary.c_str());
    return false;
  }
  return true;
}

}  // namespace tarnwell::sim
