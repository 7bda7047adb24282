// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "config/AppConfig.h"
#include "config/ConfigTable.h"
#include "config/ConfigWindow.h"
#include "platform/Clock.h"
#include "platform/FileSystem.h"
#include "platform/MessageBox.h"

namespace tarnwell {

// config.ini in the data folder: 39 lines, each a value directly followed by its comment,
// CR LF line ends, 8-bit text. A missing, short or damaged file is renewed with the defaults.
class ConfigFile {
 public:
  static constexpr int kLines = kConfigLines;

  ConfigFile(AppConfig& config, ConfigHooks& hooks, WindowGeometry& window, FileSystem& fs,
             MessageBox& messages, const Clock& clock, const Regional& regional);

  std::string Path() const;

  void ReadConfig();
  // False when the file could not be written; the operator is told once per run and the
  // settings stay in memory. Without `fromWindow` the window's place and size are written as
  // they were read (the window has not been placed from them yet).
  bool WriteConfig(bool fromWindow = true);
  // True once the settings have been read or renewed: from then on an exit writes them.
  bool Loaded() const { return loaded_; }

  // The file's bytes for the settings as they stand (refreshing the window fields first, unless
  // the window has not been placed from the settings yet).
  std::string Serialize(bool fromWindow = true);

 private:
  bool ReadLines(std::string_view bytes);
  bool RunHook(ConfigHook hook);
  void Renew();

  AppConfig& config_;
  ConfigHooks& hooks_;
  WindowGeometry& window_;
  FileSystem& fs_;
  MessageBox& messages_;
  const Clock& clock_;
  const Regional& regional_;
  bool writeFailureShown_ = false;
  bool loaded_ = false;
};

// The comment written after the value of line `line` (1 to 39).
const char* ConfigComment(int line);

// The lines of a text file (config.ini, a language file): they end at CR LF, a lone CR or a lone
// LF, and a final line end does not start another line.
std::vector<std::string_view> SplitLines(std::string_view bytes);

}  // namespace tarnwell
