// SPDX-License-Identifier: GPL-3.0-or-later
#include <cmath>

#include "FakeClock.h"
#include "FakeFileSystem.h"
#include "FakeMessageBox.h"
#include "FuzzEntries.h"
#include "config/ConfigFile.h"

namespace tarnwell::fuzz {
namespace {

// The main window as far as config.ini sees it. Like the real one it keeps its state and a
// position in whole pixels (15 twips at 96 dots per inch), and names a new record file.
class QuietWindow : public ConfigHooks, public WindowGeometry {
 public:
  explicit QuietWindow(AppConfig& config) : config_(config) {}
  void SetRefreshRate() override {}
  void ResetLastLogValue() override {}
  bool SetWindowState(WindowMode mode) override {
    state_ = mode;
    return true;
  }
  void MoveWindow(double left, double top) override {
    left_ = Pixels(left) * 15.0;
    top_ = Pixels(top) * 15.0;
  }
  WindowMode WindowState() const override { return state_; }
  double WindowLeft() const override { return left_; }
  double WindowTop() const override { return top_; }
  double WindowWidth() const override { return 7290; }
  double WindowHeight() const override { return 6300; }
  void SetNewLogFileName() override { config_.LogFileName = "20240131154502.txt"; }

 private:
  static int Pixels(double twips) { return static_cast<int>(std::lround(twips / 15.0)); }

  AppConfig& config_;
  WindowMode state_ = WindowMode::kNormal;
  double left_ = 0;
  double top_ = 0;
};

const std::string kPath = "/prog/config.ini";

// One program start: reads what the folder holds and writes it back.
struct Start {
  explicit Start(char decimal) { regional.decimal = decimal; }
  std::string ReadAndWrite(const std::string& bytes) {
    fs.files[kPath] = bytes;
    file.ReadConfig();
    file.WriteConfig();
    return fs.files[kPath];
  }
  bool Renewed() const { return !messages.shown.empty(); }

  AppConfig config;
  QuietWindow window{config};
  testing::FakeFileSystem fs;
  testing::FakeMessageBox messages;
  testing::FakeClock clock;
  Regional regional;
  ConfigFile file{config, window, window, fs, messages, clock, regional};
};

std::string RoundTrip(const std::string& bytes, char decimal) {
  Start first(decimal);
  const std::string written = first.ReadAndWrite(bytes);
  if (first.messages.shown.size() > 1) return "more than one message";
  if (SplitLines(written).size() != ConfigFile::kLines) return "written file is not 39 lines";
  if (first.Renewed()) {
    // Lines read before the damaged one have already placed the window; the renewed file
    // records it where it stands.
    Start fresh(decimal);
    fresh.window.SetWindowState(first.window.WindowState());
    fresh.window.MoveWindow(first.window.WindowLeft(), first.window.WindowTop());
    if (written != fresh.ReadAndWrite("")) return "renewed file is not the defaults";
  }
  Start second(decimal);
  const std::string rewritten = second.ReadAndWrite(written);
  if (second.Renewed()) return "the written file does not read back";
  if (rewritten != written) return "the written file changes when read and written again";
  return {};
}

}  // namespace

std::string FuzzConfig(std::string_view bytes) {
  for (const char decimal : {'.', ','}) {
    if (std::string broken = RoundTrip(std::string(bytes), decimal); !broken.empty()) {
      return broken + (decimal == '.' ? " (decimal point)" : " (decimal comma)");
    }
  }
  return {};
}

}  // namespace tarnwell::fuzz
