// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QTimer>
#include <algorithm>
#include <filesystem>
#include <functional>
#include <memory>
#include <regex>
#include <string>
#include <vector>

#include "ReceiveRig.h"
#include "SimProcess.h"
#include "TempDir.h"
#include "TestFiles.h"
#include "platform/qt/QtClock.h"
#include "platform/qt/QtSerialPort.h"

namespace tarnwell::testing {
namespace {

namespace fs = std::filesystem;

// The receive path of the program on the real serial control, fed by the simulator through a
// pseudo-terminal; every frame's value and format is collected with the ms since the port opened.
class SerialLinkPtyTest : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!fs::exists(SimulatorPath())) GTEST_SKIP() << "no simulator at " << SimulatorPath();
    app_ = std::make_unique<QCoreApplication>(argc_, argv_);
    port_ = std::make_unique<QtSerialPort>(dir_.Path());
    rig_ = std::make_unique<ReceiveRig>(*port_, qtClock_);
    rig_->config.CommPort = 1;
    rig_->RecordEveryFrame();
    rig_->onFrame = [this] { ms_.push_back(clock_.isValid() ? clock_.elapsed() : 0); };
    port_->SetOnComm([this] {
      rig_->link.MSComm1_OnComm();
      ++events_;
      maxPending_ = std::max(maxPending_, rig_->state.RxBuffer.size());
    });
  }

  void Open(const std::string& baudIndex) {
    rig_->config.BaudIndex = baudIndex;
    clock_.start();
    rig_->link.PortConfig();
  }

  // Runs the event loop until `done` holds or `seconds` pass; gives the longest time in ms the
  // loop did not come round to a 10 ms timer.
  qint64 RunFor(double seconds, const std::function<bool()>& done = {}) {
    QEventLoop loop;
    QTimer tick;
    QElapsedTimer since;
    qint64 longest = 0;
    since.start();
    QObject::connect(&tick, &QTimer::timeout, [&] {
      longest = std::max(longest, since.restart());
      if (done && done()) loop.quit();
    });
    tick.start(10);
    QTimer::singleShot(static_cast<int>(seconds * 1000), &loop, &QEventLoop::quit);
    loop.exec();
    return longest;
  }

  static inline int argc_ = 1;
  static inline char name_[] = "SerialLinkPtyTest";
  static inline char* argv_[] = {name_, nullptr};
  std::unique_ptr<QCoreApplication> app_;
  TempDir dir_;
  SimProcess sim_{dir_.Path()};
  QtClock qtClock_;
  QElapsedTimer clock_;
  std::unique_ptr<QtSerialPort> port_;
  std::unique_ptr<ReceiveRig> rig_;
  const std::vector<double>& values() const { return rig_->values; }
  std::vector<qint64> ms_;
  std::size_t maxPending_ = 0;
  int events_ = 0;
};

TEST_F(SerialLinkPtyTest, FramesArriveAsTheIndicatorSentThemAtTheLineRate) {
  ASSERT_TRUE(sim_.Start({"--baud", "19200", "--pattern", "steps", "--value", "100", "--step",
                          "12.5", "--hold", "0.3", "--decimals", "2", "--count", "450"}));
  Open("4");
  ASSERT_TRUE(port_->PortOpen());
  EXPECT_EQ(port_->Settings(), "19200,n,8,1");
  EXPECT_EQ(rig_->config.BaudIndex, "4");

  RunFor(10, [&] { return values().size() >= 450; });
  EXPECT_EQ(sim_.Wait(5), 0);
  const auto logged = sim_.Logged();
  ASSERT_EQ(logged.size(), 450u);
  ASSERT_EQ(values().size(), 450u);
  int levels = 0;
  for (std::size_t i = 0; i < logged.size(); ++i) {
    ASSERT_DOUBLE_EQ(values()[i], Number(logged[i])) << i << ": " << logged[i];
    ASSERT_EQ(rig_->formats[i], "#0.00") << i;
    if (i > 0 && std::abs(values()[i] - values()[i - 1]) > 5) ++levels;
  }
  EXPECT_GE(levels, 3);
  EXPECT_EQ(rig_->state.FirstFrame, 2);
  EXPECT_TRUE(rig_->state.DataAlive);
  EXPECT_EQ(rig_->state.RxBuffer, "");

  // 19200 bit/s, 10 bits a character, 9 characters a frame; the machine is shared, so loose.
  ASSERT_TRUE(rig_->state.FramesPerSecond.has_value());
  EXPECT_GT(*rig_->state.FramesPerSecond, 213 * 0.5);
  EXPECT_LT(*rig_->state.FramesPerSecond, 213 * 1.5);
  EXPECT_TRUE(rig_->messages.shown.empty());
}

// At full speed the port wakes the program only for a batch of characters; a slow indicator's
// frames on a fast line still come one by one, as they are sent.
TEST_F(SerialLinkPtyTest, FullSpeedStreamIsReadInBatchesWithEveryFrameInOrder) {
  ASSERT_TRUE(sim_.Start({"--baud", "921600", "--pattern", "count", "--count", "15000", "--wait"}));
  Open("10");
  ASSERT_TRUE(port_->PortOpen());
  RunFor(10, [&] { return values().size() >= 15000; });
  EXPECT_EQ(sim_.Wait(5), 0);
  const auto logged = sim_.Logged();
  ASSERT_EQ(logged.size(), 15000u);
  ASSERT_EQ(values().size(), logged.size());
  for (std::size_t i = 0; i < logged.size(); ++i) {
    ASSERT_DOUBLE_EQ(values()[i], Number(logged[i])) << i;
  }
  EXPECT_LT(events_, 15000 / 20);
}

TEST_F(SerialLinkPtyTest, FewFramesOnAFastLineArriveWithoutWaitingForMore) {
  ASSERT_TRUE(
      sim_.Start({"--baud", "921600", "--rate", "20", "--count", "10", "--wait", "--stay"}));
  Open("10");
  ASSERT_TRUE(port_->PortOpen());
  RunFor(3, [&] { return values().size() >= 10; });
  ASSERT_EQ(values().size(), 10u);
  for (std::size_t i = 1; i < values().size(); ++i) {
    EXPECT_GT(ms_[i] - ms_[i - 1], 20) << i;
    EXPECT_LT(ms_[i] - ms_[i - 1], 80) << i;
  }
  EXPECT_EQ(sim_.Stop(), 0);
}

TEST_F(SerialLinkPtyTest, GarbageAndEndlessCharactersKeepTheBufferBoundedAndTheLoopResponsive) {
  {
    // Bursts without terminators run into the frame after them; the other frames are intact.
    ASSERT_TRUE(sim_.Start({"--baud", "115200", "--garbage-every", "4", "--garbage-len", "40",
                            "--count", "400", "--seed", "3"}));
    Open("7");
    const qint64 stall = RunFor(10, [&] { return values().size() >= 400; });
    EXPECT_EQ(sim_.Wait(5), 0);
    const auto logged = sim_.Logged();
    ASSERT_EQ(logged.size(), 400u);
    ASSERT_EQ(values().size(), 400u);
    // Bursts come after every 4th frame the simulator made, counted from before the port opened.
    std::vector<std::size_t> dirty;
    for (std::size_t i = 0; i < logged.size(); ++i) {
      if (values()[i] == Number(logged[i]) && rig_->formats[i] == "#0.00") continue;
      if (!dirty.empty()) {
        EXPECT_EQ(i - dirty.back(), 4u) << i;
      }
      dirty.push_back(i);
    }
    EXPECT_GE(dirty.size(), 99u);
    EXPECT_LE(dirty.size(), 100u);
    EXPECT_LE(maxPending_, SerialLink::kMaxPending);
    EXPECT_LT(stall, 500);
    rig_->link.ClosePort();
  }
  {
    // Frames until the 60th since the simulator started, then characters without end at the top
    // speed.
    rig_->values.clear();
    rig_->formats.clear();
    ms_.clear();
    maxPending_ = 0;
    ASSERT_TRUE(sim_.Start({"--baud", "921600", "--rate", "200", "--runaway-after", "60"}));
    Open("10");
    ASSERT_TRUE(port_->PortOpen());
    EXPECT_EQ(port_->Settings(), "921600,n,8,1");
    const qint64 stall = RunFor(2.5);
    ASSERT_GE(values().size(), 40u);
    EXPECT_GT(maxPending_, SerialLink::kKeptPending);
    EXPECT_LE(maxPending_, SerialLink::kMaxPending);
    EXPECT_LE(rig_->state.RxBuffer.size(), SerialLink::kMaxPending);
    EXPECT_LT(stall, 500);
    EXPECT_EQ(sim_.Stop(), 0);
    EXPECT_GT(sim_.Stats()["bytes_written"], 100000);
    const auto logged = sim_.Logged();
    ASSERT_EQ(logged.size(), values().size());
    for (std::size_t i = 0; i < logged.size(); ++i) {
      EXPECT_DOUBLE_EQ(values()[i], Number(logged[i])) << i;
    }
  }
  EXPECT_TRUE(rig_->messages.shown.empty());
}

TEST_F(SerialLinkPtyTest, PortThatCannotBeOpenedIsToldWithTheDeviceAndWhatIsWrong) {
  fs::create_directories(dir_ / "ports");
  const fs::path link = dir_ / "ports/COM1";
  WriteFile(dir_ / "plain-file", "not a port");
  fs::create_directory(dir_ / "folder");
  ASSERT_EQ(::mkfifo((dir_ / "fifo").c_str(), 0600), 0);
  const std::vector<std::pair<std::function<void()>, std::string>> cases = {
      {[&] { fs::create_symlink(dir_ / "no-such-device", link); }, "No such file or directory"},
      {[&] { fs::create_symlink(dir_ / "plain-file", link); }, "not a serial device"},
      {[&] { fs::create_symlink(dir_ / "fifo", link); }, "not a serial device"},
      {[&] { fs::create_symlink(dir_ / "folder", link); }, "not a serial device"},
      {[&] { fs::create_symlink(link, link); }, "not a serial device"},
  };
  for (const auto& [make, reason] : cases) {
    fs::remove(link);
    make();
    rig_->messages.shown.clear();
    Open("3");
    EXPECT_FALSE(port_->PortOpen());
    ASSERT_EQ(rig_->messages.shown.size(), 1u) << reason;
    const std::string& shown = rig_->messages.shown[0].text;
    EXPECT_EQ(shown.rfind("Port error  8", 0), 0u) << shown;
    EXPECT_NE(shown.find(":" + reason + " (" + link.string() + ")"), std::string::npos) << shown;
  }

  // A device that another program holds.
  fs::remove(link);
  ASSERT_TRUE(sim_.Start({"--baud", "9600"}));
  rig_->messages.shown.clear();
  Open("3");
  ASSERT_TRUE(port_->PortOpen());
  QtSerialPort other(dir_.Path());
  other.SetCommPort(1);
  const auto held = other.SetPortOpen(true);
  ASSERT_TRUE(held);
  EXPECT_NE(held->description.find("in use by another program"), std::string::npos)
      << held->description;

  // A number that names no device at all.
  rig_->link.ClosePort();
  rig_->config.CommPort = 97;
  Open("3");
  ASSERT_EQ(rig_->messages.shown.size(), 1u);
  EXPECT_EQ(rig_->messages.shown[0].text, "Port error  8002:Invalid port number");
}

TEST_F(SerialLinkPtyTest, PulledDeviceIsOpenedAgainByItselfAndFramesArriveAgain) {
  ASSERT_TRUE(
      sim_.Start({"--baud", "19200", "--unplug-every", "1.2", "--unplug-for", "1.6", "--noise", "0",
                  "--pattern", "steps", "--step", "1", "--hold", "0.05", "--levels", "100000"}));
  Open("4");
  ASSERT_TRUE(port_->PortOpen());
  // Pulled at 1.2 s, back at 2.8 s; the control looks for it once a second, and while the link
  // is gone the port number maps to /dev/ttyS0, which must not be taken instead.
  const auto gapAt = [&] {
    for (std::size_t i = 1; i < values().size(); ++i) {
      if (ms_[i] - ms_[i - 1] > 500) return i;
    }
    return values().size();
  };
  const auto back = [&] { return values().size() >= gapAt() + 50; };
  RunFor(5, back);
  EXPECT_EQ(sim_.Stop(), 0);
  ASSERT_TRUE(back()) << values().size() << " frames";
  EXPECT_GE(sim_.Stats()["unplugs"], 1);
  EXPECT_TRUE(port_->PortOpen());

  // Frames before and after the gap are the simulator's, in order, nothing from the old line.
  const auto logged = sim_.Logged();
  const std::vector<double>& got = rig_->values;
  std::vector<double> sent;
  for (const std::string& f : logged) sent.push_back(Number(f));
  const auto gap = static_cast<long>(gapAt());
  EXPECT_TRUE(std::equal(got.begin(), got.begin() + gap, sent.begin()));
  const auto after =
      std::search(sent.begin() + gap, sent.end(), got.begin() + gap, got.begin() + gap + 50);
  EXPECT_NE(after, sent.end());
  EXPECT_GT(got[gap], got[gap - 1]);
  EXPECT_TRUE(rig_->messages.shown.empty());
}

}  // namespace
}  // namespace tarnwell::testing
