// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <cctype>
#include <cmath>
#include <map>
#include <optional>
#include <regex>

#include "FakeClock.h"
#include "FakeFileSystem.h"
#include "Golden.h"
#include "TestFiles.h"
#include "config/ConfigFile.h"
#include "config/ConfigTable.h"
#include "config/NumberText.h"

namespace tarnwell::testing {
namespace {

const std::string kPath = "/prog/config.ini";
const std::regex kCrLf("\r\n");

// A ConfigFile with the main window and message boxes it works with. `log` names what was applied
// to the window, in order: where in the reading each setting took effect.
struct Rig : ConfigHooks, WindowGeometry, MessageBox {
  void SetRefreshRate() override { log += " rate"; }
  void ResetLastLogValue() override { log += " last"; }
  bool SetWindowState(WindowMode mode) override {
    const int s = static_cast<int>(mode);
    log += " state" + std::to_string(s);
    if (s != 2 || !refuses) state = s;
    return state == s;
  }
  void MoveWindow(double l, double t) override { log += " move", left = l, top = t; }
  WindowMode WindowState() const override { return static_cast<WindowMode>(state); }
  double WindowLeft() const override { return left; }
  double WindowTop() const override { return top; }
  double WindowWidth() const override { return width; }
  double WindowHeight() const override { return height; }
  void SetNewLogFileName() override { log += " name", config.LogFileName = "20240131154502.txt"; }
  void Show(const std::string& text, const std::string&) override { told += "told " + text + "\n"; }

  bool refuses = false;  // the window refuses to be maximised
  int state = 0;
  double left = 0, top = 0, width = 7290, height = 6300;
  std::string log, told;
  AppConfig config;
  FakeFileSystem fs;
  FakeClock clock;  // 31/01/2024 15:45:02
  Regional regional;
  ConfigFile file{config, *this, *this, fs, *this, clock, regional};
};

// The lines of a config.ini that differ from the fresh file's, as " <field>=<value>" (lines past
// the last field by their number).
std::string Differences(const std::string& bytes) {
  const std::vector<std::string> lines = Split(bytes, "\r\n"),
                                 fresh = Split(GoldenConfig(), "\r\n");
  std::string out;
  for (std::size_t i = 0; i < lines.size(); ++i)
    if (i >= fresh.size() || lines[i] != fresh[i])
      out += " " +
             (i < kConfigLines ? ConfigFieldOf(static_cast<int>(i) + 1) : std::to_string(i + 1)) +
             "=" + lines[i].substr(0, lines[i].find('\'', 1));
  return out;
}

// The outcome of a case of golden/config_ini.txt, as described there.
std::string Outcome(const std::string& steps) {
  Rig r;
  ConfigValues values;
  std::map<std::string, std::string> set;
  for (const auto& [name, value] : Steps(steps)) {
    if (std::isupper(static_cast<unsigned char>(name[0]))) values[name] = value;
    set[name] = value;
  }
  std::string bytes = ConfigIniText(values);
  if (set.count("short")) bytes.resize(bytes.find("0'Log Motion"));
  if (set.count("lf")) bytes = std::regex_replace(bytes + "extra line\r\n'another", kCrLf, "\n");
  if (!set.count("missing")) r.fs.files[kPath] = bytes;
  if (set.count("decimal")) r.regional.decimal = set["decimal"][0];
  r.fs.readOnly = set.count("readOnly"), r.refuses = set.count("refuses");
  for (const auto& [name, field] :
       {std::pair("left", &r.left), {"top", &r.top}, {"width", &r.width}, {"height", &r.height}})
    if (set.count(name)) *field = StoredNumber(set[name], r.regional).value();
  r.file.ReadConfig();
  std::string out = "read" + r.log + "\n";
  if (r.fs.files.count(kPath) && r.fs.files[kPath] != bytes)
    out += "renewed" + Differences(r.fs.files[kPath]) + "\n";
  Rgb back;
  const auto rgb = [](Rgb c) {
    return " " + std::to_string(c.red) + "," + std::to_string(c.green) + "," +
           std::to_string(c.blue);
  };
  out += "colours" + (r.config.BackColor(r.regional, &back) ? rgb(back) : " -") +
         rgb(r.config.LineColor) + rgb(r.config.FontColor) + "\n";
  if (set.count("state")) r.state = std::stoi(set["state"]);
  if (r.fs.readOnly && r.file.WriteConfig()) out += "written while read-only\n";
  r.fs.readOnly = false;
  return out + r.told +
         (r.file.WriteConfig() ? "wrote" + Differences(r.fs.files[kPath]) : "not written");
}

// Reading, renewing and writing back config.ini (golden/config_ini.txt).
TEST(ConfigFile, ReadsRenewsAndWritesBack) {
  EXPECT_TRUE(MatchesScript("config/golden/config_ini.txt", Outcome));
  // One bad part leaves the colours as they were.
  AppConfig c;
  c.LineRed = Value::Text("40000"), c.FontRed = 8, c.BackGreen = Value::Text("green");
  Rgb back{1, 2, 3};
  EXPECT_FALSE(c.UpdateDerivedColors({}) || c.BackColor({}, &back));
  EXPECT_EQ(std::tuple(c.LineColor, c.FontColor, back),
            std::tuple(AppConfig{}.LineColor, AppConfig{}.FontColor, Rgb{1, 2, 3}));
}

const Regional kPoint{'.', '/'};
const Regional kComma{',', '.'};

// Each quoted text of golden/numbers.txt as a loose number, then strictly with a point and with a
// comma; frame and config.ini reading pin the rest: signs, spaces, units, line feeds, separators.
TEST(NumberText, ReadsAndWritesNumbers) {
  EXPECT_TRUE(MatchesScript("config/golden/numbers.txt", [](const std::string& row) {
    const std::string t = row.substr(1, row.size() - 2);
    const auto show = [](std::optional<double> v) { return v ? NumberToText(*v, kPoint) : "-"; };
    return show(Val(t)) + " " + show(ToNumber(t, kPoint)) + " " + show(ToNumber(t, kComma));
  }));
  std::string halves;  // in 16 bits, to even
  for (double d : {2.5, 3.5, -32768.5, 32767.4, 32767.5, -32769.0, std::nan("")})
    halves += ToInt16(d) ? std::to_string(*ToInt16(d)) + " " : "- ";
  EXPECT_EQ(halves, "2 4 -32768 32767 - - - ");
  EXPECT_EQ(NumberToText(-0.0, kPoint) + " " + NumberToText(0.1 + 0.2, kPoint) + " " +
                NumberToText(1.5e-7, kComma),
            "0 0.3 1,5E-07");
  // A value keeps the form it holds; window geometry is single-precision: seven digits, the
  // rest fifteen.
  EXPECT_TRUE(Value::Text("010").Equals(kPoint, 10));
  EXPECT_FALSE(Value::Text("auto").Equals(kPoint, 0));
  EXPECT_EQ(Value::Text("auto").NumberOr(kPoint, 7), 7);
  EXPECT_EQ(Value::Single(1234.56789).ToText(kPoint) + " " + Value::Single(0.1).ToText(kComma) +
                " " + Value::Double(1.0 / 3).ToText(kPoint),
            "1234.568 0,1 0.333333333333333");
}

}  // namespace
}  // namespace tarnwell::testing
