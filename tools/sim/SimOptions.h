// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <string>

namespace tarnwell::sim {

enum class FrameKind { kPlain, kFixed };
enum class Terminator { kCr, kCrLf, kEtx };
enum class PatternKind { kSteady, kSteps, kPlateau, kCount };

struct SimOptions {
  std::string link;
  long baud = 9600;

  FrameKind frame = FrameKind::kPlain;
  int decimals = 2;
  int width = -1;  // number field after the sign; -1 picks the frame kind's usual width
  bool zeros = false;
  std::string prefix;
  std::string unit = "kg";
  Terminator terminator = Terminator::kCr;

  PatternKind pattern = PatternKind::kSteady;
  double value = 100.0;
  double noise = -1.0;  // -1: one unit of the last decimal (none on plateaus)
  double step = 50.0;
  int levels = 4;
  double hold = 2.0;
  double settle = 0.0;
  double rate = 0.0;  // frames per second; 0 sends back to back

  long garbageEvery = 0;
  long garbageLen = 24;
  bool garbageTerms = false;
  long runawayAfter = -1;
  long runawayLen = 0;  // 0: the run never ends

  long count = 0;
  double duration = 0.0;
  bool stay = false;
  bool wait = false;
  bool flow = false;  // the writer waits while the line is full, as programs on a terminal do
  bool logTimes = false;
  std::uint32_t seed = 1;

  std::string log;
  std::string stats;
  std::string ready;

  double unplugEvery = 0.0;
  double unplugFor = 1.0;

  int Width() const { return width >= 0 ? width : (frame == FrameKind::kFixed ? 8 : 7); }
  double CharsPerSecond() const { return static_cast<double>(baud) / 10.0; }
};

enum class ParseResult { kRun, kHelp, kError };

// Fills `options` from the command line; on kError `error` says what was wrong.
ParseResult ParseSimOptions(int argc, const char* const argv[], SimOptions& options,
                            std::string& error);

std::string SimUsage();

// Reads C-style escapes (\r \n \t \\ \xHH) so a prefix can carry control characters.
bool Unescape(const std::string& text, std::string& out);

}  // namespace tarnwell::sim
