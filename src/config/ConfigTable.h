// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <array>
#include <string>

#include "config/AppConfig.h"

namespace tarnwell {

// What runs in the main window right after a line has been read. A hook that fails (a colour or
// window line that is not a number the window can take) makes the file count as damaged.
enum class ConfigHook {
  kNone,
  kRefreshRate,   // the update cycle's period follows Performance
  kResetLastLog,  // the dead band starts afresh
  kColors,        // the derived colours and the graph background, after the last colour line
  kWindowState,   // normal, minimised or maximised
  kWindowPlace,   // left and top, after the second of them; both 0 leave it to the desktop
};

// One line of config.ini: how its value is read into its field and written back. The defaults
// are AppConfig's own.
struct ConfigRow {
  const char* field;
  // Written after the value. Lines 14, 25 and 26 hold Windows-1254 bytes (0xFD a dotless i,
  // 0xDD a dotted capital I), exactly as existing files carry them.
  const char* comment;
  // True when the value must read as a number, else the file counts as damaged. The others are
  // kept as text (compared as text, or read as a number where they are used).
  bool numeric;
  // `number` is the value read as a number (0 for a line that need not be one).
  void (*read)(AppConfig& config, const std::string& text, double number);
  std::string (*write)(const AppConfig& config, const Regional& regional);
  ConfigHook hook;
};

inline constexpr int kConfigLines = 39;

// The rows in the file's order: row 0 is line 1.
const std::array<ConfigRow, kConfigLines>& ConfigRows();

}  // namespace tarnwell
