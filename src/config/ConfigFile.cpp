// SPDX-License-Identifier: GPL-3.0-or-later
#include "config/ConfigFile.h"

#include <array>
#include <optional>
#include <vector>

#include "config/NumberText.h"
#include "platform/DateTime.h"

namespace tarnwell {
namespace {

// Written after each value. Lines 14, 25 and 26 hold Windows-1254 bytes (0xFD is a dotless i,
// 0xDD a dotted capital I), exactly as existing files carry them.
constexpr std::array<const char*, ConfigFile::kLines> kComments = {
    "'Advanced mode or Customer. Use 0 as default",
    "'Guide Lines. 1:visible/0:not",
    "'Expanded view. 1:Enable/0:Disable",
    "'Number of Characters",
    "'Omitted characters",
    "'Communication port",
    "'Baudrate",
    "'Log Time in seconds",
    "'Last Log time information",
    "'Performance setting. 0:Low/1:Mid/2:High/3:Ultra",
    "'Number of samples",
    "'Minimum value for the graphic view",
    "'Maximum value for the graphic view",
    "'Kay\xFDt dosyas\xFD tipi. 1:xls/0:txt",
    "'Data record enable. 0:dis/1:en",
    "'Record file name",
    "'Incremental record. 0:dis/1:en",
    "'Log variation value. Def:0",
    "'Language settings 0:En/1:Tr/2:Bg/3:Ru",
    "'Linemode or not 0:not/1:line",
    "'Back Color Red Def:5",
    "'Back Color Green Def:5",
    "'Back Color Blue Def:5",
    "' Line Color Red Def:224",
    "' L\xDDne Color Green Def:224",
    "' L\xDDne Color Blue Def:224",
    "' Font Color Red Def:224",
    "' Font Color Green Def:224",
    "' Font Color Blue Def:224",
    "' Mouse position data show. Def:0",
    "' Device Name sel. 0:Standart/1:Orvo & Zenn",
    "' Record can start automatically when started-up. 0:Cancel/1:Operate /Def:0",
    "' Windows state when started-up. 0:Normal/1:Minimized/2:Maximized/Def:0",
    "' Window position X. Def: ",
    "' Window position Y. Def: ",
    "' Window Width. Def:7290 ",
    "' Window Height. Def:6300 ",
    "'Log Threshold value. Def:0",
    "'Log Motion Timer value. Def:0",
};

// The value of a line: the characters before the first "'" at or after the second character.
std::optional<std::string> LineValue(const std::string& line) {
  if (line.size() < 2) return std::nullopt;
  const auto q = line.find('\'', 1);
  if (q == std::string::npos) return std::nullopt;
  return line.substr(0, q);
}

}  // namespace

const char* ConfigComment(int line) { return kComments.at(static_cast<std::size_t>(line - 1)); }

std::vector<std::string> SplitLines(const std::string& bytes) {
  std::vector<std::string> lines;
  std::string cur;
  for (std::size_t i = 0; i < bytes.size(); ++i) {
    const char c = bytes[i];
    if (c == '\r' || c == '\n') {
      lines.push_back(std::move(cur));
      cur.clear();
      if (c == '\r' && i + 1 < bytes.size() && bytes[i + 1] == '\n') ++i;
    } else {
      cur.push_back(c);
    }
  }
  if (!cur.empty()) lines.push_back(std::move(cur));
  return lines;
}

ConfigFile::ConfigFile(AppConfig& config, ConfigWindow& window, FileSystem& fs,
                       MessageBox& messages, const Clock& clock, const Regional& regional)
    : config_(config),
      window_(window),
      fs_(fs),
      messages_(messages),
      clock_(clock),
      regional_(regional) {}

std::string ConfigFile::Path() const { return fs_.Join(fs_.ProgramFolder(), "config.ini"); }

void ConfigFile::ReadConfig() {
  const auto bytes = fs_.ReadAll(Path());
  if (!bytes || !ReadLines(*bytes)) return Renew();
  loaded_ = true;
}

bool ConfigFile::ReadLines(const std::string& bytes) {
  const auto lines = SplitLines(bytes);
  AppConfig& c = config_;
  auto number = [&](const std::string& v) { return ToNumber(v, regional_); };
  for (int n = 1; n <= kLines; ++n) {
    if (static_cast<std::size_t>(n) > lines.size()) return false;
    const auto value = LineValue(lines[static_cast<std::size_t>(n - 1)]);
    if (!value) return false;
    const std::string& v = *value;
    std::optional<double> num;
    const bool numeric = n == 1 || n == 2 || n == 3 || n == 17 || n == 5 || n == 8 || n == 11 ||
                         n == 13 || n == 18 || n == 31 || n == 38 || n == 39;
    if (numeric) {
      num = number(v);
      if (!num) return false;
    }
    switch (n) {
      case 1:
        c.AdvancedMode = *num == 52814;
        break;
      case 2:
        c.GuideLine = *num == 1;
        break;
      case 3:
        c.Expanded = *num == 1 ? 1 : 0;
        break;
      case 4:
        c.NofChars = Value::Text(v);
        break;
      case 5:
        c.OmitCh = *num;
        break;
      case 6:
        c.CommPort = Value::Text(v);
        break;
      case 7:
        c.BaudIndex = v;
        break;
      case 8:
        c.LogTime = *num;
        break;
      case 9:
        c.LastLogTime = v;
        break;
      case 10:
        c.Performance = Value::Text(v);
        if (!number(v)) return false;
        window_.SetRefreshRate();
        break;
      case 11:
        c.NofSamples = *num;
        break;
      case 12:
        c.GraphMin = Value::Text(v);
        break;
      case 13:
        c.GraphMax = *num;
        break;
      case 14:
        c.LogFileType = v == "1" ? 1 : 0;
        break;
      case 15:
        c.LogEnable = v == "1";
        break;
      case 16:
        c.LogFileName = v;
        break;
      case 17:
        c.LogIncremental = *num == 1;
        break;
      case 18:
        c.LogVariation = *num;
        window_.ResetLastLogValue();
        break;
      case 19:
        c.Language = Value::Text(v);
        break;
      case 20:
        c.LineMode = Value::Text(v);
        break;
      case 21:
        c.BackRed = Value::Text(v);
        break;
      case 22:
        c.BackGreen = Value::Text(v);
        break;
      case 23:
        c.BackBlue = Value::Text(v);
        break;
      case 24:
        c.LineRed = Value::Text(v);
        break;
      case 25:
        c.LineGreen = Value::Text(v);
        break;
      case 26:
        c.LineBlue = Value::Text(v);
        break;
      case 27:
        c.FontRed = Value::Text(v);
        break;
      case 28:
        c.FontGreen = Value::Text(v);
        break;
      case 29: {
        c.FontBlue = Value::Text(v);
        Rgb back;
        if (!c.BackColor(regional_, &back) || !c.UpdateDerivedColors(regional_)) return false;
        window_.SetGraphBackColor(back);
        break;
      }
      case 30:
        c.MouseEvent = Value::Text(v);
        break;
      case 31:
        c.DevType = *num;
        break;
      case 32:
        c.RecordOnStartup = Value::Text(v);
        break;
      case 33: {
        c.WindowState = Value::Text(v);
        const auto state = number(v);
        if (!state || !ToInt16(*state)) return false;
        if (*state != 0 && *state != 1 && *state != 2) return false;
        if (!window_.SetWindowState(static_cast<int>(*state))) return false;
        break;
      }
      case 34:
        c.WindowLeft = Value::Text(v);
        break;
      case 35: {
        c.WindowTop = Value::Text(v);
        const auto left = c.WindowLeft.AsNumber(regional_);
        const auto top = c.WindowTop.AsNumber(regional_);
        if (!left || !top) return false;
        if (!(*left == 0 && *top == 0)) window_.MoveWindow(*left, *top);
        break;
      }
      case 36:
        c.WindowWidth = Value::Text(v);
        break;
      case 37:
        c.WindowHeight = Value::Text(v);
        break;
      case 38:
        c.LogThreshold = *num;
        break;
      case 39:
        c.MotionTime = *num;
        break;
      default:
        break;
    }
  }
  return true;
}

void ConfigFile::Renew() {
  messages_.Show("Can not open " + fs_.ProgramFolder() + fs_.Separator() +
                 "config.ini file. The configuration file renewed.");
  config_ = AppConfig{};
  config_.GuideLine = true;
  config_.LastLogTime = DateTimeText(clock_.LocalNow(), regional_);
  window_.SetGraphBackColor(MakeColor(5, 5, 5));
  config_.LineColor = MakeColor(224, 224, 224);
  config_.FontColor = MakeColor(224, 224, 224);
  window_.SetNewLogFileName();
  loaded_ = true;
  // The window still has its design size: the fresh file holds the default outer size.
  Write(false);
}

std::string ConfigFile::Serialize(bool fromWindow) {
  AppConfig& c = config_;
  const Regional& r = regional_;
  auto num = [&](double d) { return NumberToText(d, r); };
  auto flag = [](bool b) { return std::string(b ? "1" : "0"); };

  const int state = fromWindow ? window_.WindowState() : -1;
  if (fromWindow) c.WindowState = state;
  if (state == 0 || state == 2) {
    c.WindowLeft = Value::Single(window_.WindowLeft());
    c.WindowTop = Value::Single(window_.WindowTop());
  }
  if (state == 0 || state == 1) {
    c.WindowWidth = Value::Single(window_.WindowWidth());
    c.WindowHeight = Value::Single(window_.WindowHeight());
  }

  const std::array<std::string, kLines> values = {
      c.AdvancedMode ? "52814" : "0",
      flag(c.GuideLine),
      flag(c.Expanded.Equals(r, 1)),
      c.NofChars.ToText(r),
      num(c.OmitCh),
      c.CommPort.ToText(r),
      c.BaudIndex,
      num(c.LogTime),
      c.LastLogTime,
      c.Performance.ToText(r),
      num(c.NofSamples),
      c.GraphMin.ToText(r),
      num(c.GraphMax),
      flag(c.LogFileType == 1),
      flag(c.LogEnable),
      c.LogFileName,
      flag(c.LogIncremental),
      num(c.LogVariation),
      c.Language.ToText(r),
      c.LineMode.ToText(r),
      c.BackRed.ToText(r),
      c.BackGreen.ToText(r),
      c.BackBlue.ToText(r),
      c.LineRed.ToText(r),
      c.LineGreen.ToText(r),
      c.LineBlue.ToText(r),
      c.FontRed.ToText(r),
      c.FontGreen.ToText(r),
      c.FontBlue.ToText(r),
      c.MouseEvent.ToText(r),
      num(c.DevType),
      c.RecordOnStartup.ToText(r),
      c.WindowState.ToText(r),
      c.WindowLeft.ToText(r),
      c.WindowTop.ToText(r),
      c.WindowWidth.ToText(r),
      c.WindowHeight.ToText(r),
      num(c.LogThreshold),
      num(c.MotionTime),
  };
  std::string out;
  for (int i = 0; i < kLines; ++i) {
    out += values[static_cast<std::size_t>(i)];
    out += kComments[static_cast<std::size_t>(i)];
    out += "\r\n";
  }
  return out;
}

bool ConfigFile::WriteConfig() { return Write(true); }

bool ConfigFile::Write(bool fromWindow) {
  if (fs_.WriteWhole(Path(), Serialize(fromWindow))) return true;
  if (!writeFailureShown_) {
    writeFailureShown_ = true;
    messages_.Show("Can not write " + fs_.ProgramFolder() + fs_.Separator() +
                   "config.ini file. The settings are kept until the program ends.");
  }
  return false;
}

}  // namespace tarnwell
