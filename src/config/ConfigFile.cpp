// SPDX-License-Identifier: GPL-3.0-or-later
#include "config/ConfigFile.h"

#include <algorithm>
#include <optional>
#include <vector>

#include "config/NumberText.h"
#include "platform/DateTime.h"

namespace tarnwell {
namespace {

// The value of a line: the characters before the first "'" at or after the second character.
std::optional<std::string> LineValue(std::string_view line) {
  const auto q = line.find('\'', 1);
  if (q == std::string_view::npos) return std::nullopt;
  return std::string(line.substr(0, q));
}

}  // namespace

const char* ConfigComment(int line) {
  return ConfigRows().at(static_cast<std::size_t>(line - 1)).comment;
}

std::vector<std::string_view> SplitLines(std::string_view bytes) {
  std::vector<std::string_view> lines;
  while (!bytes.empty()) {
    const std::size_t end = std::min(bytes.find_first_of("\r\n"), bytes.size());
    lines.push_back(bytes.substr(0, end));
    const bool crlf = bytes.substr(end).starts_with("\r\n");
    bytes.remove_prefix(std::min(bytes.size(), end + (crlf ? 2 : 1)));
  }
  return lines;
}

ConfigFile::ConfigFile(AppConfig& config, ConfigHooks& hooks, WindowGeometry& window,
                       FileSystem& fs, MessageBox& messages, const Clock& clock,
                       const Regional& regional)
    : config_(config),
      hooks_(hooks),
      window_(window),
      fs_(fs),
      messages_(messages),
      clock_(clock),
      regional_(regional) {}

std::string ConfigFile::Path() const { return fs_.Join(fs_.DataFolder(), "config.ini"); }

void ConfigFile::ReadConfig() {
  const auto bytes = fs_.ReadAll(Path());
  if (!bytes || !ReadLines(*bytes)) return Renew();
  loaded_ = true;
}

bool ConfigFile::ReadLines(std::string_view bytes) {
  // Editors that save UTF-8 may put a byte-order mark before the first line.
  if (bytes.starts_with("\xEF\xBB\xBF")) bytes.remove_prefix(3);
  const auto lines = SplitLines(bytes);
  for (std::size_t i = 0; i < ConfigRows().size(); ++i) {
    // The lines before a missing or damaged one have been applied, as they are read in order.
    if (i >= lines.size()) return false;
    const ConfigRow& row = ConfigRows()[i];
    const auto value = LineValue(lines[i]);
    if (!value) return false;
    const auto number = row.numeric ? StoredNumber(*value, regional_) : std::optional<double>(0);
    if (!number) return false;
    row.read(config_, *value, *number);
    if (!RunHook(row.hook)) return false;
  }
  return true;
}

// Applies what a line just read sets in the main window; false when the settings it needs are
// not numbers the window can take.
bool ConfigFile::RunHook(ConfigHook hook) {
  AppConfig& c = config_;
  switch (hook) {
    case ConfigHook::kNone:
      return true;
    case ConfigHook::kRefreshRate:
      hooks_.SetRefreshRate();
      return true;
    case ConfigHook::kResetLastLog:
      hooks_.ResetLastLogValue();
      return true;
    case ConfigHook::kColors: {
      Rgb back;
      return c.BackColor(regional_, &back) && c.UpdateDerivedColors(regional_);
    }
    case ConfigHook::kWindowState: {
      const auto state = c.WindowState.AsNumber(regional_);
      if (!state || !ToInt16(*state) || (*state != 0 && *state != 1 && *state != 2)) return false;
      return window_.SetWindowState(static_cast<WindowMode>(*state));
    }
    case ConfigHook::kWindowPlace: {
      const auto left = c.WindowLeft.AsNumber(regional_);
      const auto top = c.WindowTop.AsNumber(regional_);
      if (!left || !top) return false;
      if (!(*left == 0 && *top == 0)) window_.MoveWindow(*left, *top);
      return true;
    }
  }
  return true;
}

void ConfigFile::Renew() {
  messages_.Show("Can not open " + fs_.DataFolder() + fs_.Separator() +
                 "config.ini file. The configuration file renewed.");
  config_ = AppConfig{};
  config_.LastLogTime = DateTimeText(clock_.LocalNow(), regional_);
  hooks_.SetNewLogFileName();
  loaded_ = true;
  // The window still has its design size: the fresh file holds the default outer size.
  WriteConfig(false);
}

std::string ConfigFile::Serialize(bool fromWindow) {
  AppConfig& c = config_;
  const std::optional<WindowMode> mode =
      fromWindow ? std::optional(window_.WindowState()) : std::nullopt;
  if (mode) c.WindowState = static_cast<int>(*mode);
  if (mode == WindowMode::kNormal || mode == WindowMode::kMaximized) {
    c.WindowLeft = Value::Single(window_.WindowLeft());
    c.WindowTop = Value::Single(window_.WindowTop());
  }
  if (mode == WindowMode::kNormal || mode == WindowMode::kMinimized) {
    c.WindowWidth = Value::Single(window_.WindowWidth());
    c.WindowHeight = Value::Single(window_.WindowHeight());
  }

  std::string out;
  for (const ConfigRow& row : ConfigRows()) {
    out += row.write(c, regional_);
    out += row.comment;
    out += "\r\n";
  }
  return out;
}

bool ConfigFile::WriteConfig(bool fromWindow) {
  if (fs_.WriteWhole(Path(), Serialize(fromWindow))) return true;
  if (!writeFailureShown_) {
    writeFailureShown_ = true;
    messages_.Show("Can not write " + fs_.DataFolder() + fs_.Separator() +
                   "config.ini file. The settings are kept until the program ends.");
  }
  return false;
}

}  // namespace tarnwell
