// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <cmath>
#include <optional>

#include "FakeClock.h"
#include "FakeFileSystem.h"
#include "TestFiles.h"
#include "config/ConfigFile.h"
#include "config/NumberText.h"

namespace tarnwell::testing {
namespace {

using Texts = std::vector<std::string>;
const std::string kPath = "/prog/config.ini";
const std::string kRenewed = "Can not open /prog/config.ini file. The configuration file renewed.";
const std::string kUnwritable =
    "Can not write /prog/config.ini file. The settings are kept until the program ends.";

// A ConfigFile with the main window and message boxes it works with. `log` names what was applied
// to the window, in order: where in the reading each setting took effect.
struct Rig : ConfigHooks, WindowGeometry, MessageBox {
  explicit Rig(char decimal = '.') { regional.decimal = decimal; }
  void Read(const std::string& bytes) { fs.files[kPath] = bytes, file.ReadConfig(); }
  std::string Written() { return file.WriteConfig() ? fs.files[kPath] : "not written"; }

  void SetRefreshRate() override { Log("rate"); }
  void ResetLastLogValue() override { Log("last"); }
  bool SetWindowState(int s) override {
    Log("state" + std::to_string(s));
    state = s == rejectedState ? state : s;
    return s != rejectedState;
  }
  void MoveWindow(double l, double t) override { Log("move"), left = l, top = t; }
  int WindowState() const override { return state; }
  double WindowLeft() const override { return left; }
  double WindowTop() const override { return top; }
  double WindowWidth() const override { return width; }
  double WindowHeight() const override { return height; }
  void SetNewLogFileName() override { Log("name"), config.LogFileName = "20240131154502.txt"; }
  void Log(const std::string& call) { log += (log.empty() ? "" : " ") + call; }
  // Every setting as config.ini holds it, then the colours taken from them.
  std::string Settings() {
    std::string s = file.Serialize(false);
    for (Rgb c : {config.LineColor, config.FontColor})
      s += std::to_string(c.red) + "," + std::to_string(c.green) + "," + std::to_string(c.blue) +
           " ";
    return s;
  }
  void Show(const std::string& text, const std::string& title) override {
    shown.push_back(title + text);  // the title only where there is one
  }

  int rejectedState = -1, state = 0;
  double left = 0, top = 0, width = 7290, height = 6300;
  Rgb back;
  std::string log;
  Texts shown;
  AppConfig config;
  FakeFileSystem fs;
  FakeClock clock;  // 31/01/2024 15:45:02
  Regional regional;
  ConfigFile file{config, *this, *this, fs, *this, clock, regional};
};

// What came before the damage has been applied; the renewal then replaces every setting with its
// default, in memory as in the file: exactly what reading a fresh file gives.
TEST(ConfigRenewal, MissingOrDamagedFileIsReportedAndWrittenAfreshWithTheDefaults) {
  Rig fresh;
  fresh.Read(GoldenConfig());
  const auto with = [](int line, const std::string& value) {
    return ConfigIniText({{4, "12"}, {6, "2"}, {line, value}});
  };
  const std::string all = with(4, "12");
  const std::pair<std::optional<std::string>, std::string> cases[] = {
      {std::nullopt, "name"},
      {all.substr(0, all.find("0'Log Motion")), "rate last state0 name"},  // 38 lines
      {with(16, ""), "rate name"},  // a comment without a value
      {with(13, "1e999"), "rate name"},
      {with(23, "40000"), "rate last name"},
      {with(33, "5"), "rate last name"},
      {with(33, "2"), "rate last state2 name"},  // the window refuses the state
      {with(34, "left"), "rate last state0 name"},
      {with(35, "1O0"), "rate last state0 name"},
      {with(39, "x"), "rate last state0 name"},
  };
  for (const auto& [bytes, log] : cases) {
    Rig r;
    r.rejectedState = 2, r.width = 1;  // the window's design size is not the default
    if (bytes) r.fs.files[kPath] = *bytes;
    r.file.ReadConfig();
    EXPECT_EQ(std::tuple(r.log, r.shown, r.fs.files[kPath] + r.Settings()),
              std::tuple(log, Texts{kRenewed}, GoldenConfig() + fresh.Settings()));
  }
}

// Values of loose type are written back exactly as they were read; lines after the 39th are
// ignored and dropped, and bare line feeds end lines too.
TEST(ConfigReading, AppliesEachSettingInTurnAndWritesBackTheSameBytes) {
  std::map<int, std::string> custom = {
      {4, "010"},   {5, "1"},      {6, "4"},      {7, "7"},      {8, "0.5"},      {9, "0"},
      {10, "2"},    {11, "250"},   {12, "-5.50"}, {13, "1E+20"}, {16, "my 'log"}, {19, "0"},
      {20, "1"},    {21, "10"},    {22, "20"},    {23, "30"},    {24, "300"},     {25, "-4"},
      {29, "7.6"},  {31, "1"},     {32, "1"},     {33, "2"},     {35, "1200"},    {36, "9000.5"},
      {37, "7000"}, {38, "-0.25"}, {39, "3"}};
  std::string text = ConfigIniText(custom) + "extra line\r\n'another";
  for (std::size_t at; (at = text.find("\r\n")) != std::string::npos;) text.replace(at, 2, "\n");
  Rig r;
  r.Read(text);
  EXPECT_EQ(r.log, "rate last state2 move");  // one edge 0 still moves the window
  ASSERT_TRUE(r.config.BackColor(r.regional, &r.back));
  EXPECT_EQ(std::tuple(r.back, r.config.LineColor, r.config.FontColor),
            std::tuple(MakeColor(10, 20, 30), MakeColor(255, 0, 224), MakeColor(224, 224, 8)));
  custom[16] = "my ";  // a quote in the name ends it
  EXPECT_EQ(r.Written(), ConfigIniText(custom));
  // One bad part leaves the colours as they were.
  r.config.LineRed = Value::Text("40000"), r.config.BackGreen = Value::Text("green");
  EXPECT_FALSE(r.config.UpdateDerivedColors(r.regional) || r.config.BackColor(r.regional, &r.back));
  EXPECT_EQ(std::pair(r.config.FontColor, r.back),
            std::pair(MakeColor(224, 224, 8), MakeColor(10, 20, 30)));
  EXPECT_EQ(SplitLines("a\r\nb\rc\nd\r\n\r\n\n\re"),
            (std::vector<std::string_view>{"a", "b", "c", "d", "", "", "", "e"}));
}

// Flags compare as text or as number; a file written under either decimal mark is read under the
// other, and one an editor saved with a byte-order mark is read too.
TEST(ConfigReading, ValuesAreReadAsEachLineWantsThem) {
  const std::tuple<char, int, std::string, std::string> cases[] = {
      {'.', 1, "52814", "52814"}, {'.', 1, "1", "0"},
      {'.', 14, "1", "1"},        {'.', 14, " 1", "0"},
      {'.', 15, "01", "0"},       {'.', 2, "01", "1"},
      {'.', 3, "2", "0"},         {'.', 17, " 1 ", "1"},
      {',', 5, "0,5", "0,5"},     {',', 8, "0.25", "0,25"},
      {'.', 8, "0,5", "0.5"},     {'.', 12, "-0,5", "-0,5"},
      {'.', 29, "7,6", "7,6"},    {'.', 1, "\357\273\2770", "0"}};
  for (const auto& [decimal, line, value, written] : cases) {
    Rig r(decimal);
    r.Read(ConfigIniText({{4, "12"}, {line, value}}));  // 12: a renewal would show
    EXPECT_EQ(r.Written(), ConfigIniText({{4, "12"}, {line, written}})) << line << value;
  }
}

// A minimised window keeps the position read, a maximised one the size read.
TEST(ConfigWriting, GeometryIsSavedAsTheWindowStateAllows) {
  const std::tuple<int, std::string, std::string, std::string, std::string> cases[] = {
      {0, "1234,5", "-60", "9999", "5000"},
      {1, "0", "0", "9999", "5000"},
      {2, "1234,5", "-60", "7290", "6300"}};
  for (const auto& [state, left, top, width, height] : cases) {
    Rig r(',');
    r.Read(GoldenConfig());
    r.left = 1234.5, r.top = -60, r.width = 9999, r.height = 5000;
    r.state = state;
    EXPECT_EQ(r.log, "rate last state0");  // both edges 0: the window stays put
    const std::map<int, std::string> lines = {
        {33, std::to_string(state)}, {34, left}, {35, top}, {36, width}, {37, height}};
    EXPECT_EQ(r.Written(), ConfigIniText(lines));
  }
}

// Renewed in a read-only folder: the defaults stay in memory until a write works.
TEST(ConfigWriting, FailedWriteIsReportedOnceAndTheSettingsAreKept) {
  Rig r;
  r.fs.readOnly = true;
  r.file.ReadConfig();
  r.config.NofChars = Value::Text("12");
  EXPECT_FALSE(r.file.WriteConfig());
  r.fs.readOnly = false;
  EXPECT_EQ(r.Written(), ConfigIniText({{4, "12"}}));
  EXPECT_EQ(r.shown, (Texts{kRenewed, kUnwritable}));
}

const Regional kPoint{'.', '/'};
const Regional kComma{',', '.'};

// Frame and config.ini reading pin the rest: signs, spaces, units, line feeds, separators.
TEST(NumberText, ReadsAndWritesNumbers) {
  const std::pair<std::string, double> vals[] = {
      {"12,5", 12}, {"1.2.3", 1.2}, {".5", 0.5},   {"2.5d-1", 0.25},
      {"1e+", 1},   {"&H1F", 31},   {"&hA9", 169}, {"&o17", 15},
      {"ST,GS", 0}, {"+-5", 0},     {"9e999", 0},  {"&H" + std::string(300, 'F'), 0},
      {"&H1:", 1}};
  for (const auto& [text, value] : vals) EXPECT_EQ(Val(text), value) << text;

  EXPECT_EQ(ToNumber(" -100000\t", kPoint), -100000);
  EXPECT_EQ(ToNumber("+1.5e2", kPoint), 150);
  EXPECT_EQ(ToNumber("1e-400", kPoint), 0);
  for (const char* bad : {" ", "abc", "1.5.", "12kg", "1e", ".", "- 1", "1 2", "1,5", "1e+400"}) {
    EXPECT_EQ(ToNumber(bad, kPoint), std::nullopt) << '"' << bad << '"';
  }
  EXPECT_EQ(NumberToText(-0.0, kPoint) + " " + NumberToText(0.1 + 0.2, kPoint) + " " +
                NumberToText(1.5e-7, kComma),
            "0 0.3 1,5E-07");
  // Halves round to even.
  const std::pair<double, std::optional<std::int16_t>> ints[] = {
      {2.5, 2},      {3.5, 4},     {-32768.5, -32768}, {32767.4, 32767},
      {32767.5, {}}, {-32769, {}}, {std::nan(""), {}}};
  for (const auto& [in, out] : ints) EXPECT_EQ(ToInt16(in), out) << in;

  // A value keeps the form it holds; window geometry is single-precision: seven digits.
  EXPECT_TRUE(Value::Text("010").Equals(kPoint, 10));
  EXPECT_FALSE(Value::Text("auto").Equals(kPoint, 0));
  EXPECT_EQ(Value::Text("auto").NumberOr(kPoint, 7), 7);
  EXPECT_EQ(Value::Single(1234.56789).ToText(kPoint) + " " + Value::Single(0.1).ToText(kComma),
            "1234.568 0,1");
}

}  // namespace
}  // namespace tarnwell::testing
