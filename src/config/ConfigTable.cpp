// SPDX-License-Identifier: GPL-3.0-or-later
#include "config/ConfigTable.h"

#include "config/NumberText.h"

namespace tarnwell {
namespace {

using Hook = ConfigHook;

std::string Flag(bool on) { return on ? "1" : "0"; }

// A number; the line must hold one.
template <double AppConfig::*F>
ConfigRow Number(const char* field, const char* comment, Hook hook = Hook::kNone) {
  return {field,
          comment,
          true,
          [](AppConfig& c, const std::string&, double n) { c.*F = n; },
          [](const AppConfig& c, const Regional& r) { return NumberToText(c.*F, r); },
          hook};
}

// Kept in the form it was read in and written back so.
template <Value AppConfig::*F>
ConfigRow Kept(const char* field, const char* comment, bool numeric = false,
               Hook hook = Hook::kNone) {
  return {field,
          comment,
          numeric,
          [](AppConfig& c, const std::string& v, double) { c.*F = Value::Text(v); },
          [](const AppConfig& c, const Regional& r) { return (c.*F).ToText(r); },
          hook};
}

template <std::string AppConfig::*F>
ConfigRow Text(const char* field, const char* comment) {
  return {field,
          comment,
          false,
          [](AppConfig& c, const std::string& v, double) { c.*F = v; },
          [](const AppConfig& c, const Regional&) { return c.*F; },
          Hook::kNone};
}

// On when the number is 1.
template <bool AppConfig::*F>
ConfigRow Switch(const char* field, const char* comment) {
  return {field,
          comment,
          true,
          [](AppConfig& c, const std::string&, double n) { c.*F = n == 1; },
          [](const AppConfig& c, const Regional&) { return Flag(c.*F); },
          Hook::kNone};
}

const std::array<ConfigRow, kConfigLines> kRows = {
    ConfigRow{"AdvancedMode", "'Advanced mode or Customer. Use 0 as default", true,
              [](AppConfig& c, const std::string&, double n) { c.AdvancedMode = n == 52814; },
              [](const AppConfig& c, const Regional&) {
                return std::string(c.AdvancedMode ? "52814" : "0");
              },
              Hook::kNone},
    Switch<&AppConfig::GuideLine>("GuideLine", "'Guide Lines. 1:visible/0:not"),
    ConfigRow{"Expanded", "'Expanded view. 1:Enable/0:Disable", true,
              [](AppConfig& c, const std::string&, double n) { c.Expanded = n == 1 ? 1 : 0; },
              [](const AppConfig& c, const Regional& r) { return Flag(c.AutomaticRange(r)); },
              Hook::kNone},
    Kept<&AppConfig::NofChars>("NofChars", "'Number of Characters"),
    Number<&AppConfig::OmitCh>("OmitCh", "'Omitted characters"),
    Kept<&AppConfig::CommPort>("CommPort", "'Communication port"),
    Text<&AppConfig::BaudIndex>("BaudIndex", "'Baudrate"),
    Number<&AppConfig::LogTime>("LogTime", "'Log Time in seconds"),
    Text<&AppConfig::LastLogTime>("LastLogTime", "'Last Log time information"),
    Kept<&AppConfig::Performance>("Performance", "'Performance setting. 0:Low/1:Mid/2:High/3:Ultra",
                                  true, Hook::kRefreshRate),
    Number<&AppConfig::NofSamples>("NofSamples", "'Number of samples"),
    Kept<&AppConfig::GraphMin>("GraphMin", "'Minimum value for the graphic view"),
    Number<&AppConfig::GraphMax>("GraphMax", "'Maximum value for the graphic view"),
    ConfigRow{"LogFileType", "'Kay\xFDt dosyas\xFD tipi. 1:xls/0:txt", false,
              [](AppConfig& c, const std::string& v, double) {
                c.LogFileType = v == "1" ? RecordFileType::kSpreadsheet : RecordFileType::kText;
              },
              [](const AppConfig& c, const Regional&) {
                return Flag(c.LogFileType == RecordFileType::kSpreadsheet);
              },
              Hook::kNone},
    ConfigRow{"LogEnable", "'Data record enable. 0:dis/1:en", false,
              [](AppConfig& c, const std::string& v, double) { c.LogEnable = v == "1"; },
              [](const AppConfig& c, const Regional&) { return Flag(c.LogEnable); }, Hook::kNone},
    Text<&AppConfig::LogFileName>("LogFileName", "'Record file name"),
    Switch<&AppConfig::LogIncremental>("LogIncremental", "'Incremental record. 0:dis/1:en"),
    Number<&AppConfig::LogVariation>("LogVariation", "'Log variation value. Def:0",
                                     Hook::kResetLastLog),
    Kept<&AppConfig::Language>("Language", "'Language settings 0:En/1:Tr/2:Bg/3:Ru"),
    Kept<&AppConfig::LineMode>("LineMode", "'Linemode or not 0:not/1:line"),
    Kept<&AppConfig::BackRed>("BackRed", "'Back Color Red Def:5"),
    Kept<&AppConfig::BackGreen>("BackGreen", "'Back Color Green Def:5"),
    Kept<&AppConfig::BackBlue>("BackBlue", "'Back Color Blue Def:5"),
    Kept<&AppConfig::LineRed>("LineRed", "' Line Color Red Def:224"),
    Kept<&AppConfig::LineGreen>("LineGreen", "' L\xDDne Color Green Def:224"),
    Kept<&AppConfig::LineBlue>("LineBlue", "' L\xDDne Color Blue Def:224"),
    Kept<&AppConfig::FontRed>("FontRed", "' Font Color Red Def:224"),
    Kept<&AppConfig::FontGreen>("FontGreen", "' Font Color Green Def:224"),
    Kept<&AppConfig::FontBlue>("FontBlue", "' Font Color Blue Def:224", false, Hook::kColors),
    Kept<&AppConfig::MouseEvent>("MouseEvent", "' Mouse position data show. Def:0"),
    Number<&AppConfig::DevType>("DevType", "' Device Name sel. 0:Standart/1:Orvo & Zenn"),
    Kept<&AppConfig::RecordOnStartup>(
        "RecordOnStartup",
        "' Record can start automatically when started-up. 0:Cancel/1:Operate /Def:0"),
    Kept<&AppConfig::WindowState>(
        "WindowState", "' Windows state when started-up. 0:Normal/1:Minimized/2:Maximized/Def:0",
        true, Hook::kWindowState),
    Kept<&AppConfig::WindowLeft>("WindowLeft", "' Window position X. Def: "),
    Kept<&AppConfig::WindowTop>("WindowTop", "' Window position Y. Def: ", false,
                                Hook::kWindowPlace),
    Kept<&AppConfig::WindowWidth>("WindowWidth", "' Window Width. Def:7290 "),
    Kept<&AppConfig::WindowHeight>("WindowHeight", "' Window Height. Def:6300 "),
    Number<&AppConfig::LogThreshold>("LogThreshold", "'Log Threshold value. Def:0"),
    Number<&AppConfig::MotionTime>("MotionTime", "'Log Motion Timer value. Def:0"),
};

}  // namespace

const std::array<ConfigRow, kConfigLines>& ConfigRows() { return kRows; }

}  // namespace tarnwell
