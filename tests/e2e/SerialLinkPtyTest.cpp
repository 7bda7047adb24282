// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QTest>
#include <algorithm>
#include <filesystem>
#include <functional>
#include <utility>

#include "ReceiveRig.h"
#include "SimProcess.h"
#include "TempDir.h"
#include "platform/qt/PosixSerialPort.h"
#include "platform/qt/QtClock.h"
#include "sim/FrameLog.h"
#include "sim/FrameMaker.h"
#include "sim/SimOptions.h"

namespace tarnwell::testing {
namespace {

namespace fs = std::filesystem;

// The receive path of the program on the real serial control, fed by the simulator through a
// pseudo-terminal; every frame's value is collected.
class SerialLinkPtyTest : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!fs::exists(SimulatorPath())) GTEST_SKIP() << "no simulator";
    rig_.config.CommPort = 1;
    rig_.RecordEveryFrame();
    port_.SetOnComm([this] {
      rig_.link.OnPortEvent();
      maxPending_ = std::max(maxPending_, rig_.state.RxBuffer.size());
    });
  }

  // Opens at the speed of `baudIndex`, then runs the event loop until `done` holds, for at most
  // a minute.
  void Run(const std::string& baudIndex, const std::function<bool()>& done) {
    rig_.config.BaudIndex = baudIndex;
    rig_.link.PortConfig();
    QTest::qWaitFor(done, 60000);
  }
  // The simulator's frames as numbers.
  std::vector<double> Sent() const {
    std::vector<double> sent;
    for (const std::string& frame : sim_.Logged()) sent.push_back(Number(frame));
    return sent;
  }

  int argc_ = 1;
  char* argv_[2] = {const_cast<char*>("SerialLinkPtyTest"), nullptr};
  QCoreApplication app_{argc_, argv_};
  TempDir dir_;
  SimProcess sim_{dir_.Path()};
  QtClock clock_;
  PosixSerialPort port_{dir_.Path(), clock_};
  ReceiveRig rig_{port_, clock_};
  const std::vector<double>& values_ = rig_.values;
  std::size_t maxPending_ = 0;
};

// Every frame at full speed, in order; characters without end after the last frame keep the
// buffer bounded.
TEST_F(SerialLinkPtyTest, FullSpeedGivesEveryFrameAndEndlessCharactersStayBounded) {
  ASSERT_TRUE(
      sim_.Start({"--baud", "921600", "--pattern", "count", "--runaway-after", "15000", "--wait"}));
  Run("10", [&] { return values_.size() >= 15000 && maxPending_ > SerialLink::kKeptPending; });
  EXPECT_EQ(sim_.Stop(), 0);
  ASSERT_EQ(Sent().size(), 15000u);
  EXPECT_EQ(values_, Sent());
  EXPECT_GT(maxPending_, SerialLink::kKeptPending);
  EXPECT_LE(maxPending_, SerialLink::kMaxPending);
  EXPECT_TRUE(rig_.messages.shown.empty());
}

// A link to nothing, to a plain file and to itself, a number beyond the mapped ports, then the
// simulator's device, closed and opened again, and the same device opened by a second program.
TEST_F(SerialLinkPtyTest, PortThatCannotBeOpenedIsToldWithTheDeviceAndWhatIsWrong) {
  const std::string link = dir_ / "ports/COM1";
  fs::create_directories(dir_ / "ports");
  WriteFile(dir_ / "plain-file", "not a port");
  std::vector<std::string> told;
  const auto open = [&](int port) {
    rig_.messages.shown.clear();
    rig_.link.ClosePort();
    rig_.config.CommPort = port;
    Run("3", [] { return true; });
    told.push_back(rig_.messages.shown.empty() ? "" : rig_.messages.shown.back().text);
  };
  for (const std::string& target : {dir_ / "no-such-device", dir_ / "plain-file", link}) {
    fs::remove(link);
    fs::create_symlink(target, link);
    open(1);
  }
  open(97);
  fs::remove(link);
  ASSERT_TRUE(sim_.Start({"--baud", "9600"}));
  open(1);
  open(1);
  PosixSerialPort other(dir_.Path(), clock_);
  other.SetCommPort(1);
  const SerialError held = other.SetPortOpen(true).value_or(SerialError{});
  told.push_back(std::to_string(held.number) + ":" + held.description);
  const std::string in = " (" + link + ")";
  EXPECT_EQ(told, std::vector<std::string>({"Port error  8001:No such file or directory" + in,
                                            "Port error  8003:not a serial device" + in,
                                            "Port error  8003:not a serial device" + in,
                                            "Port error  8002:Invalid port number", "", "",
                                            "8003:in use by another program" + in}));
}

// An indicator on a fast line, pulled at 1.2 s and back at 2.8 s: the control looks for the
// device once a second, and while the link is gone the port number maps to /dev/ttyS0, which
// must not be taken instead. Frames before and after the gap are the simulator's, in order,
// nothing made of the old line and the new.
TEST_F(SerialLinkPtyTest, APulledDeviceIsOpenedAgainByItself) {
  ASSERT_TRUE(sim_.Start({"--baud", "921600", "--rate", "20", "--wait", "--unplug-every", "1.2",
                          "--unplug-for", "1.6", "--pattern", "count"}));
  // Frames come 0.01 apart; the pull takes some 30 of them.
  const auto back = [&] {
    for (std::size_t i = 1; i + 10 < values_.size(); ++i) {
      if (values_[i] - values_[i - 1] > 0.1) return true;
    }
    return false;
  };
  Run("10", back);
  EXPECT_EQ(sim_.Stop(), 0);
  ASSERT_TRUE(back()) << values_.size() << " frames";
  EXPECT_TRUE(port_.PortOpen());
  const auto sent = Sent();
  EXPECT_TRUE(std::is_sorted(values_.begin(), values_.end()));
  EXPECT_TRUE(std::includes(sent.begin(), sent.end(), values_.begin(), values_.end()));
  EXPECT_TRUE(rig_.messages.shown.empty());
}

// What the simulator sends beside plain readings (the status shows the frame after each step),
// and how its log shows any character.
TEST(SimulatorTexts, NumbersFramesAndLogLines) {
  using namespace sim;
  SimOptions o;
  o.frame = FrameKind::kFixed, o.decimals = 1;
  FrameMaker fixed(o);
  std::string unescaped;
  EXPECT_EQ(
      std::vector<std::string>({FrameMaker::SignedNumber(123.45, 2, 7, false),
                                FrameMaker::SignedNumber(12.34, 2, 7, true),
                                FrameMaker::SignedNumber(-0.004, 2, 5, false), fixed.Frame(1234.5),
                                fixed.Frame(1234.54), fixed.Frame(1234.56),
                                FrameLog::Printable(std::string("a\\b\r\n\x03\xff ~", 9)),
                                Unescape("\\x02A\\r\\\\", unescaped) ? unescaped : "-",
                                Unescape("\\x2", unescaped) ? unescaped : "-"}),
      std::vector<std::string>({"+ 123.45", "+0012.34", "+ 0.00", "US,GS,+  1234.5kg",
                                "ST,GS,+  1234.5kg", "US,GS,+  1234.6kg",
                                "a\\\\b\\x0D\\x0A\\x03\\xFF ~", "\002A\r\\", "-"}));
}

}  // namespace
}  // namespace tarnwell::testing
