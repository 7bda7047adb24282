// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <QTest>
#include <algorithm>

#include "ReceiveRig.h"
#include "platform/posix/PosixClock.h"
#include "platform/qt/QtSerialPort.h"
#include "posix/ChildProcess.h"
#include "qt/QtTestApplication.h"

namespace tarnwell::testing {
namespace {

namespace fs = std::filesystem;

[[maybe_unused]] const auto* const kQt = ::testing::AddGlobalTestEnvironment(new QtTestApplication);

// The real serial control, counting the reads that follow an opening again or a loss.
struct CountingPort : QtSerialPort {
  using QtSerialPort::QtSerialPort;
  Received Input() override {
    Received in = QtSerialPort::Input();
    for (const LineRead& read : in.reads) gaps += read.follows != LineRead::Follows::kLine;
    return in;
  }
  int gaps = 0;
};

// The receive path on the real serial control, fed by the simulator through a pseudo-terminal.
class SerialLinkPtyTest : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!fs::exists(SimulatorPath())) GTEST_SKIP() << "no simulator";
    rig_.RecordEveryFrame();
    port_.SetOnComm([this] {
      rig_.link.OnPortEvent();
      maxPending_ = std::max(maxPending_, rig_.state.RxBuffer.size());
    });
  }
  // Opens at the speed of `baudIndex` and runs until `done`, for at most a minute.
  void Run(const std::string& baudIndex, const std::function<bool()>& done) {
    rig_.config.BaudIndex = baudIndex;
    rig_.link.PortConfig();
    EXPECT_TRUE(QTest::qWaitFor(done, 60000));
  }

  TempDir dir_;
  SimProcess sim_{dir_.Path()};
  PosixClock clock_;
  CountingPort port_{dir_.Path(), clock_};
  ReceiveRig rig_{port_, clock_};
  std::size_t maxPending_ = 0;
};

// Pulled at 1.2 s and back at 2.8 s (/dev/ttyS0 is not taken meanwhile), then endless characters:
// the frames sent in order, missing only where a read followed a loss or an opening; the buffer
// stays bounded.
TEST_F(SerialLinkPtyTest, EveryFrameInOrderThroughAPullAndEndlessCharactersStayBounded) {
  ASSERT_TRUE(sim_.Start({"--baud", "921600", "--pattern", "count", "--unplug-every", "1.2",
                          "--unplug-for", "1.6", "--runaway-after", "30000", "--wait"}));
  Run("10", [&] { return maxPending_ > SerialLink::kKeptPending; });
  EXPECT_EQ(sim_.Stop(), 0);
  std::vector<double> sent;
  for (const std::string& frame : sim_.Logged()) sent.push_back(Number(frame));
  int gaps = 0;
  auto next = sent.begin();
  for (const double value : rig_.values) {
    const auto at = std::find(next, sent.end(), value);
    ASSERT_NE(at, sent.end()) << value << " was not sent, or not in order";
    gaps += at != next;
    next = at + 1;
  }
  EXPECT_LE(gaps + (next != sent.end()), port_.gaps);
  EXPECT_GE(port_.gaps, 2) << "opened again";
  EXPECT_LE(maxPending_, SerialLink::kMaxPending);
  EXPECT_TRUE(rig_.messages.shown.empty());
}

// A link to nothing, a file or itself, a number beyond the ports, a port reopened and one in use.
TEST_F(SerialLinkPtyTest, PortThatCannotBeOpenedIsToldWithTheDeviceAndWhatIsWrong) {
  fs::create_directories(dir_ / "ports");
  WriteFile(dir_ / "plain-file", "not a port");
  std::vector<std::string> told;
  const auto open = [&](int port) {
    rig_.messages.shown.clear(), rig_.link.ClosePort(), rig_.config.CommPort = port;
    Run("3", [] { return true; });
    told.push_back(rig_.messages.shown.empty() ? "" : rig_.messages.shown.back().text);
  };
  for (const std::string& target : {dir_ / "no-such-device", dir_ / "plain-file", sim_.link}) {
    fs::remove(sim_.link), fs::create_symlink(target, sim_.link), open(1);
  }
  open(97);
  fs::remove(sim_.link);
  ASSERT_TRUE(sim_.Start({"--baud", "9600"}));
  open(1), open(1);  // opened, then closed and opened again
  QtSerialPort other(dir_.Path(), clock_);
  other.SetCommPort(1);
  const SerialError held = other.SetPortOpen(true).value_or(SerialError{});
  told.push_back(std::to_string(held.number) + ":" + held.description);
  const std::string in = " (" + sim_.link + ")";
  EXPECT_EQ(told, std::vector<std::string>({"Port error  8001:No such file or directory" + in,
                                            "Port error  8003:not a serial device" + in,
                                            "Port error  8003:not a serial device" + in,
                                            "Port error  8002:Invalid port number", "", "",
                                            "8003:in use by another program" + in}));
}

// While the program holds the line, another program (not root, which the exclusive mode lets
// through, and not our kind, which the lock keeps out) is refused; once it lets go, it opens.
TEST_F(SerialLinkPtyTest, LineHeldKeepsOutAnotherProgramUntilLetGo) {
  ASSERT_TRUE(sim_.Start({"--baud", "9600"}));
  const std::string device = fs::canonical(sim_.link);
  std::vector<std::string> other{"sh", "-c", "exec 3<\"$0\"", device};
  if (RunningAsRoot()) {
    fs::permissions(device, fs::perms::all, fs::perm_options::add);
    other.insert(other.begin(), {"setpriv", "--reuid=65534", "--regid=65534", "--clear-groups"});
  }
  port_.SetCommPort(1);
  ASSERT_EQ(port_.SetPortOpen(true), std::nullopt);
  const ChildProcess::Result held = ChildProcess::Run(other);
  EXPECT_NE(held.exitCode, 0);
  EXPECT_NE(held.output.find("busy"), std::string::npos) << held.output;
  port_.SetPortOpen(false);
  EXPECT_EQ(ChildProcess::Run(other).exitCode, 0);
}

}  // namespace
}  // namespace tarnwell::testing
