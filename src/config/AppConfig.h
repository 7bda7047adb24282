// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "config/Value.h"
#include "platform/Regional.h"

namespace tarnwell {

struct Rgb {
  std::uint8_t red = 0;
  std::uint8_t green = 0;
  std::uint8_t blue = 0;
  friend bool operator==(const Rgb&, const Rgb&) = default;
};

// Builds a colour from three parts, each above 255 counting as 255 (below 0 as 0).
Rgb MakeColor(int red, int green, int blue);

// What a new record file's name ends in: ".xls" (LogFileType 1 in config.ini) or ".txt".
enum class RecordFileType { kText, kSpreadsheet };
// The display's refresh pace; a Performance that is not 0, 1 or 2 runs as Mid.
enum class RefreshLevel { kLow, kMid, kHigh };

// The program's settings, one field per line of config.ini, in the file's order, with their
// defaults. GuideLine holds the main window's hidden guide-line switch (line 2).
struct AppConfig {
  bool AdvancedMode = false;
  bool GuideLine = true;
  Value Expanded = 1;
  Value NofChars = 10;
  double OmitCh = 0;
  Value CommPort = 1;
  std::string BaudIndex = "3";
  double LogTime = 1;
  std::string LastLogTime;
  Value Performance = 1;
  double NofSamples = 100;
  Value GraphMin = 0;
  double GraphMax = 1000;
  RecordFileType LogFileType = RecordFileType::kText;
  bool LogEnable = false;
  std::string LogFileName;
  bool LogIncremental = true;
  double LogVariation = 0;
  Value Language = 1;
  Value LineMode = 0;
  Value BackRed = 5;
  Value BackGreen = 5;
  Value BackBlue = 5;
  Value LineRed = 224;
  Value LineGreen = 224;
  Value LineBlue = 224;
  Value FontRed = 224;
  Value FontGreen = 224;
  Value FontBlue = 224;
  Value MouseEvent = 0;
  double DevType = 0;
  Value RecordOnStartup = 0;
  Value WindowState = 0;
  Value WindowLeft = 0;
  Value WindowTop = 0;
  Value WindowWidth = 7290;
  Value WindowHeight = 6300;
  double LogThreshold = -100000;
  double MotionTime = 0;

  // Derived from the parts above; not stored in the file.
  Rgb LineColor = MakeColor(224, 224, 224);
  Rgb FontColor = MakeColor(224, 224, 224);

  // The "value" fields read as what they mean, each with its one fallback for a text that is
  // not a number.
  bool AutomaticRange(const Regional& r) const { return Expanded.Equals(r, 1); }
  bool Sweeping(const Regional& r) const { return LineMode.Equals(r, 1); }
  bool PointerReadOut(const Regional& r) const { return MouseEvent.Equals(r, 1); }
  bool RecordsAtStartup(const Regional& r) const { return RecordOnStartup.Equals(r, 1); }
  double GraphMinimum(const Regional& r) const { return GraphMin.NumberOr(r, 0); }
  // 0 Low, 1 Mid, 2 High; -1 for a text that is not a number.
  double PerformanceLevel(const Regional& r) const { return Performance.NumberOr(r, -1); }
  RefreshLevel Refresh(const Regional& r) const {
    const double level = PerformanceLevel(r);
    return level == 0 ? RefreshLevel::kLow : level == 2 ? RefreshLevel::kHigh : RefreshLevel::kMid;
  }
  // -1 for a text that is not a number, which no list shows.
  double LanguageNumber(const Regional& r) const { return Language.NumberOr(r, -1); }
  std::optional<double> PortNumber(const Regional& r) const { return CommPort.AsNumber(r); }
  bool NoPort(const Regional& r) const { return CommPort.Equals(r, 0); }
  std::optional<double> CharacterCount(const Regional& r) const { return NofChars.AsNumber(r); }
  double OuterWidth(const Regional& r) const { return WindowWidth.NumberOr(r, 7290); }
  double OuterHeight(const Regional& r) const { return WindowHeight.NumberOr(r, 6300); }

  // Recomputes LineColor and FontColor. False when a part is not a number that fits a 16-bit
  // integer; the colours are then left as they were.
  bool UpdateDerivedColors(const Regional& regional);
  // The graph background colour of BackRed, BackGreen, BackBlue; false as above.
  bool BackColor(const Regional& regional, Rgb* color) const;
  // The background the graph is drawn on: BackColor, or the design's near-black where the
  // stored one cannot be read.
  Rgb ShownBackColor(const Regional& regional) const;
};

}  // namespace tarnwell
