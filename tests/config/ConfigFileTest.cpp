// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <cmath>
#include <map>
#include <string>
#include <utility>

#include "FakeClock.h"
#include "FakeConfigWindow.h"
#include "FakeFileSystem.h"
#include "FakeMessageBox.h"
#include "TestFiles.h"
#include "config/AppConfig.h"
#include "config/ConfigFile.h"
#include "config/NumberText.h"
#include "config/Value.h"

namespace tarnwell::testing {
namespace {

const std::string kPath = "/prog/config.ini";
const std::string kRenewed = "Can not open /prog/config.ini file. The configuration file renewed.";

// The first `n` lines of `bytes`, each with its CR LF.
std::string FirstLines(const std::string& bytes, int n) {
  std::size_t end = 0;
  while (n-- > 0) end = bytes.find("\r\n", end) + 2;
  return bytes.substr(0, end);
}

std::string LineOf(const std::string& bytes, int n) {
  return SplitLines(bytes)[static_cast<std::size_t>(n - 1)];
}

// Everything a ConfigFile works with, made fresh for each case.
struct Rig {
  Rig() { window.config = &config; }
  void Read(const std::string& bytes) {
    fs.files[kPath] = bytes;
    file.ReadConfig();
  }
  std::string& Stored() { return fs.files[kPath]; }

  AppConfig config;
  FakeConfigWindow window;
  FakeFileSystem fs;
  FakeMessageBox messages;
  FakeClock clock;  // 31/01/2024 15:45:02
  Regional regional;
  ConfigFile file{config, window, window, fs, messages, clock, regional};
};

TEST(ConfigRenewal, MissingFileIsReportedOnceAndWrittenAfreshWithTheDefaults) {
  Rig r;
  r.file.ReadConfig();
  ASSERT_EQ(r.messages.shown.size(), 1u);
  EXPECT_EQ(r.messages.shown[0].text, kRenewed);
  EXPECT_EQ(r.messages.shown[0].title, "");
  EXPECT_EQ(r.Stored(), GoldenConfig());
  // The renewal itself applies neither the refresh rate nor the window state or position.
  EXPECT_EQ(r.window.calls, (std::vector<std::string>{"back", "newname"}));
}

TEST(ConfigRenewal, EveryKindOfDamageRenewsAndOverwritesWhatWasReadBefore) {
  // Settings early in the file that differ from the defaults; the damage comes after them.
  const std::string base = ConfigIniText({{4, "12"}, {6, "2"}});
  const auto with = [](int line, const std::string& value) {
    return ConfigIniText({{4, "12"}, {6, "2"}, {line, value}});
  };
  const std::vector<std::pair<std::string, std::string>> cases = {
      {"empty file", ""},
      {"38 lines", FirstLines(base, 38)},
      {"comment only", with(16, "")},
      {"no comment", base.substr(0, base.find("0'Log Motion")) + "0\r\n"},
      {"line 1 not a number", with(1, "abc")},
      {"double beyond its range", with(13, "1e999")},
      {"colour beyond 16 bits", with(23, "40000")},
      {"window state 5", with(33, "5")},
      {"window left not a number", with(34, "left")},
      {"window top not a number", with(35, "1O0")},
      {"line 39 not a number", with(39, "x")},
  };
  for (const auto& [what, bytes] : cases) {
    Rig r;
    r.Read(bytes);
    ASSERT_EQ(r.messages.shown.size(), 1u) << what;
    EXPECT_EQ(r.messages.shown[0].text, kRenewed) << what;
    EXPECT_EQ(r.Stored(), GoldenConfig()) << what;
    EXPECT_EQ(r.config.CommPort.ToText(r.regional), "1") << what;
  }
}

TEST(ConfigRenewal, WhatWasAppliedBeforeTheFailureStaysApplied) {
  Rig r;
  r.window.rejectedState = 2;
  r.Read(ConfigIniText({{33, "2"}}));
  ASSERT_EQ(r.messages.shown.size(), 1u);
  EXPECT_EQ(r.window.calls,
            (std::vector<std::string>{"refresh", "lastlog", "back", "state 2", "back", "newname"}));
  EXPECT_EQ(r.Stored(), GoldenConfig());

  // So is what a file that ends too early held before its end.
  Rig cut;
  cut.Read(FirstLines(GoldenConfig(), 30));
  EXPECT_EQ(cut.window.calls,
            (std::vector<std::string>{"refresh", "lastlog", "back", "back", "newname"}));
}

TEST(ConfigReading, AppliesSettingsAtTheirPlaceInTheSequence) {
  Rig r;
  r.Read(ConfigIniText(
      {{21, "10"}, {22, "20"}, {23, "30"}, {24, "300"}, {29, "7.6"}, {33, "2"}, {35, "100"}}));
  EXPECT_TRUE(r.messages.shown.empty());
  EXPECT_EQ(r.window.calls,
            (std::vector<std::string>{"refresh", "lastlog", "back", "state 2", "move"}));
  EXPECT_EQ(r.window.back, MakeColor(10, 20, 30));
  EXPECT_EQ(r.config.LineColor, MakeColor(255, 224, 224));
  EXPECT_EQ(r.config.FontColor, MakeColor(224, 224, 8));
  EXPECT_EQ(r.window.left, 0);
  EXPECT_EQ(r.window.top, 100);

  // Both edges 0: the window keeps its start-up position.
  Rig still;
  still.window.left = 480;
  still.Read(GoldenConfig());
  EXPECT_EQ(still.window.calls,
            (std::vector<std::string>{"refresh", "lastlog", "back", "state 0"}));
  EXPECT_EQ(still.window.left, 480);
}

TEST(ConfigReading, FlagsCompareAsTextOrAsNumberLineByLine) {
  struct Case {
    int line;
    std::string value;
    bool on;
  };
  const std::vector<Case> cases = {
      {1, "52814", true}, {1, "1", false}, {14, "1", true},  {14, " 1", false}, {15, "01", false},
      {2, "01", true},    {3, "2", false}, {17, "01", true}, {17, " 1 ", true},
  };
  for (const auto& c : cases) {
    Rig r;
    r.Read(ConfigIniText({{c.line, c.value}}));
    ASSERT_TRUE(r.messages.shown.empty()) << c.line << " " << c.value;
    const AppConfig& k = r.config;
    const bool got = c.line == 1    ? k.AdvancedMode
                     : c.line == 2  ? k.GuideLine
                     : c.line == 3  ? k.Expanded.Equals(r.regional, 1)
                     : c.line == 14 ? k.LogFileType == 1
                     : c.line == 15 ? k.LogEnable
                                    : k.LogIncremental;
    EXPECT_EQ(got, c.on) << c.line << " " << c.value;
    r.file.WriteConfig();
    const std::string written = c.line == 1 ? (c.on ? "52814" : "0") : (c.on ? "1" : "0");
    EXPECT_EQ(LineOf(r.Stored(), c.line).substr(0, written.size() + 1), written + "'")
        << c.line << " " << c.value;
  }
}

// Values of loose type are written back exactly as they were read; lines after the 39th are
// ignored and dropped. (The defaults' bytes round trip in the line feed case below.)
TEST(ConfigRoundTrip, ReadThenWriteGivesTheSameBytes) {
  std::map<int, std::string> custom = {
      {4, "010"},   {5, "1"},      {6, "4"},      {7, "7"},      {8, "0.5"},      {9, "0"},
      {10, "2"},    {11, "250"},   {12, "-5.50"}, {13, "1E+20"}, {16, "my 'log"}, {19, "0"},
      {20, "1"},    {31, "1"},     {32, "1"},     {34, "2400"},  {35, "1200"},    {36, "9000.5"},
      {37, "7000"}, {38, "-0.25"}, {39, "3"}};
  Rig c;
  c.window.left = 2400, c.window.top = 1200, c.window.width = 9000.5, c.window.height = 7000;
  c.Read(ConfigIniText(custom) + "extra line\r\n'another\r\n");
  EXPECT_TRUE(c.messages.shown.empty());
  EXPECT_EQ(c.config.LogFileName, "my ");  // a quote in the name ends it
  EXPECT_EQ(c.config.OmitCh, 1);
  EXPECT_EQ(c.config.GraphMax, 1e20);
  ASSERT_TRUE(c.file.WriteConfig());
  custom[16] = "my ";
  EXPECT_EQ(c.Stored(), ConfigIniText(custom));
}

TEST(ConfigReading, AcceptsBareLineFeedsAndALastLineWithoutEnd) {
  std::string lf = GoldenConfig();
  for (std::size_t at; (at = lf.find("\r\n")) != std::string::npos;) lf.replace(at, 2, "\n");
  Rig r;
  r.Read(lf.substr(0, lf.size() - 1));
  EXPECT_TRUE(r.messages.shown.empty());
  r.file.WriteConfig();
  EXPECT_EQ(r.Stored(), GoldenConfig());

  EXPECT_EQ(SplitLines("a\r\nb\rc\nd"), (std::vector<std::string>{"a", "b", "c", "d"}));
  EXPECT_EQ(SplitLines("a\r\n\r\n"), (std::vector<std::string>{"a", ""}));
  EXPECT_EQ(SplitLines("\n\r"), (std::vector<std::string>{"", ""}));
  EXPECT_TRUE(SplitLines("").empty());
}

// A minimised window has no position worth keeping and a maximised one no size: those lines
// keep what was read.
TEST(ConfigWriting, GeometryIsSavedAsTheWindowStateAllows) {
  const struct {
    int state;
    std::vector<std::string> lines;  // 33 to 37
  } cases[] = {
      {0, {"0'", "1234,5'", "-60'", "9999'", "5000'"}},
      {1, {"1'", "100'", "200'", "9999'", "5000'"}},
      {2, {"2'", "1234,5'", "-60'", "8000'", "7000'"}},
  };
  for (const auto& c : cases) {
    Rig r;
    r.regional.decimal = ',';
    r.config.WindowLeft = 100, r.config.WindowTop = 200;
    r.config.WindowWidth = 8000, r.config.WindowHeight = 7000;
    r.window.left = 1234.5, r.window.top = -60, r.window.width = 9999, r.window.height = 5000;
    r.window.state = c.state;
    r.file.WriteConfig();
    for (int line = 33; line <= 37; ++line) {
      const std::string& want = c.lines[static_cast<std::size_t>(line - 33)];
      EXPECT_EQ(LineOf(r.Stored(), line).substr(0, want.size()), want)
          << "state " << c.state << " line " << line;
    }
  }
}

TEST(ConfigWriting, FailedWriteIsReportedOnceAndKeepsFileAndSettings) {
  Rig r;
  r.fs.files[kPath] = "old";
  r.fs.readOnly = true;
  r.config.NofChars = Value::Text("12");
  EXPECT_FALSE(r.file.WriteConfig());
  EXPECT_FALSE(r.file.WriteConfig());
  ASSERT_EQ(r.messages.shown.size(), 1u);
  EXPECT_EQ(r.messages.shown[0].text,
            "Can not write /prog/config.ini file. The settings are kept until the program ends.");
  EXPECT_EQ(r.fs.files[kPath], "old");
  EXPECT_EQ(r.config.NofChars.ToText(r.regional), "12");

  r.fs.readOnly = false;
  EXPECT_TRUE(r.file.WriteConfig());
  EXPECT_EQ(LineOf(r.Stored(), 4), "12'Number of Characters");
  EXPECT_EQ(r.messages.shown.size(), 1u);

  // A renewal in a read-only folder: both messages, and the defaults stay in memory.
  Rig ro;
  ro.fs.readOnly = true;
  ro.file.ReadConfig();
  ASSERT_EQ(ro.messages.shown.size(), 2u);
  EXPECT_EQ(ro.messages.shown[0].text, kRenewed);
  EXPECT_EQ(ro.messages.shown[1].text, r.messages.shown[0].text);
  EXPECT_EQ(ro.fs.files.count(kPath), 0u);
  EXPECT_EQ(ro.config.LogFileName, "20240131154502.txt");
}

TEST(ConfigSeparators, NumbersUseTheRegionalDecimalSeparator) {
  Rig comma;
  comma.regional.decimal = ',';
  // An older file written with the point is still read.
  comma.Read(ConfigIniText({{5, "0,5"}, {8, "0.25"}, {12, "-2,5"}}));
  ASSERT_TRUE(comma.messages.shown.empty());
  EXPECT_EQ(comma.config.OmitCh, 0.5);
  EXPECT_EQ(comma.config.LogTime, 0.25);
  EXPECT_EQ(comma.config.GraphMin.NumberOr(comma.regional, 0), -2.5);
  comma.file.WriteConfig();
  EXPECT_EQ(LineOf(comma.Stored(), 5), "0,5'Omitted characters");
  EXPECT_EQ(LineOf(comma.Stored(), 8), "0,25'Log Time in seconds");
  EXPECT_EQ(LineOf(comma.Stored(), 12), "-2,5'Minimum value for the graphic view");

  // With the point as separator a comma is not part of a number.
  Rig point;
  point.Read(ConfigIniText({{5, "0,5"}}));
  EXPECT_EQ(point.messages.shown.size(), 1u);
  EXPECT_EQ(point.config.OmitCh, 0);
}

const Regional kPoint{'.', '/'};
const Regional kComma{',', '.'};

// Frames are read with Val too: signs, spaces, units and line feeds are pinned there.
TEST(Val, ReadsTheLeadingNumberOfAFrameLeniently) {
  const std::pair<std::string, double> cases[] = {
      {"12,5", 12},  {"1.2.3", 1.2}, {".5", 0.5},  {"2.5d-1", 0.25}, {"1e+", 1},  {"&H1F", 31},
      {"&hA9", 169}, {"&o17", 15},   {"ST,GS", 0}, {"+-5", 0},       {"9e999", 0}};
  for (const auto& [text, value] : cases) EXPECT_EQ(Val(text), value) << text;
  EXPECT_EQ(Val("&H" + std::string(300, 'F')), 0);
}

// What config.ini needs of it (either separator, overflow, plain forms) is pinned with the file.
TEST(ToNumber, AcceptsOnlyAWholeNumber) {
  EXPECT_EQ(ToNumber(" -100000\t", kPoint), -100000);
  EXPECT_EQ(ToNumber("+1.5e2", kPoint), 150);
  for (const char* bad : {"", " ", "abc", "1.5.", "12kg", "1e", ".", "- 1", "1 2"}) {
    EXPECT_FALSE(ToNumber(bad, kPoint)) << '"' << bad << '"';
  }
  EXPECT_EQ(ToNumber("1e-400", kPoint), 0);
}

TEST(NumberToText, WritesThePlainDecimalForm) {
  EXPECT_EQ(NumberToText(-0.0, kPoint), "0");
  EXPECT_EQ(NumberToText(0.1 + 0.2, kPoint), "0.3");
  EXPECT_EQ(NumberToText(1.5e-7, kComma), "1,5E-07");
}

TEST(ToInt16, RoundsHalvesToEvenWithinTheRange) {
  EXPECT_EQ(ToInt16(2.5), 2);
  EXPECT_EQ(ToInt16(3.5), 4);
  EXPECT_EQ(ToInt16(-32768.5), -32768);
  EXPECT_EQ(ToInt16(32767.4), 32767);
  EXPECT_FALSE(ToInt16(32767.5));
  EXPECT_FALSE(ToInt16(-32769));
  EXPECT_FALSE(ToInt16(std::nan("")));
}

TEST(Value, KeepsTheFormItHolds) {
  EXPECT_TRUE(Value::Text("010").Equals(kPoint, 10));
  EXPECT_FALSE(Value::Text("auto").Equals(kPoint, 0));
  EXPECT_EQ(Value::Text("auto").NumberOr(kPoint, 7), 7);
  // Window geometry is a single-precision number: seven significant digits.
  EXPECT_EQ(Value::Single(1234.56789).ToText(kPoint), "1234.568");
  EXPECT_EQ(Value::Single(0.1).ToText(kComma), "0,1");
}

TEST(AppConfigColors, PartsAreClampedAndMustFitSixteenBits) {
  AppConfig c;
  c.LineRed = Value::Text("-4");
  c.LineGreen = Value::Text("255.5");
  c.FontBlue = Value::Text("999");
  ASSERT_TRUE(c.UpdateDerivedColors(kPoint));
  EXPECT_EQ(c.LineColor, (Rgb{0, 255, 224}));
  EXPECT_EQ(c.FontColor, (Rgb{224, 224, 255}));

  // One bad part leaves both colours as they were.
  c.LineRed = Value::Text("40000");
  c.FontRed = Value::Text("1");
  EXPECT_FALSE(c.UpdateDerivedColors(kPoint));
  EXPECT_EQ(c.FontColor, (Rgb{224, 224, 255}));

  Rgb back{1, 2, 3};
  c.BackGreen = Value::Text("green");
  EXPECT_FALSE(c.BackColor(kPoint, &back));
  EXPECT_EQ(back, (Rgb{1, 2, 3}));
}

}  // namespace
}  // namespace tarnwell::testing
