// SPDX-License-Identifier: GPL-3.0-or-later
// The serial control and the device list on COM ports that Wine maps to the simulator's
// pseudo-terminals. serial-line.sh starts the simulators, maps the ports and runs this:
//   COM1  counting frames at 921600 bit/s, 30000 of them, then that simulator ends
//   COM2  counting frames at 921600 bit/s, 5000 a second, 30000 of them, the device pulled out
//         every 1.2 s for 1.6 s
//   COM3  a steady line at 9600 bit/s until the end
//   COM4  a plain file
// TARNWELL_SERIAL_DIR names the folder with the simulators' logs and figures.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>

#include "ReceiveRig.h"
#include "TestFiles.h"
#include "Win32TestSupport.h"
#include "platform/win32/Utf16.h"
#include "platform/win32/Win32Clock.h"
#include "platform/win32/Win32SerialDevices.h"
#include "platform/win32/Win32SerialPort.h"
#include "settings/PortDevice.h"

// After the program's headers, where windows.h would rename MessageBox.
#include <setupapi.h>

namespace tarnwell::testing {
namespace {

constexpr unsigned kLongWaitMs = 120000;

std::string Folder() {
  const char* folder = std::getenv("TARNWELL_SERIAL_DIR");
  return folder != nullptr ? folder : "";
}

// The real serial control, counting the reads that follow an opening or a loss, and those that
// end inside a frame.
struct CountingPort : Win32SerialPort {
  using Win32SerialPort::Win32SerialPort;
  Received Input() override {
    Received in = Win32SerialPort::Input();
    for (const LineRead& read : in.reads) {
      gaps += read.follows != LineRead::Follows::kLine;
      splits += in.chars[read.end - 1] != '\r';
    }
    return in;
  }
  int gaps = 0, splits = 0;
};

// The values handled against the frames sent, in order: those that were never sent (or not
// there), and the frames sent that were passed over, in how many runs.
struct Walked {
  std::size_t foreign = 0, missing = 0, jumps = 0;
};
Walked Walk(const std::vector<double>& values, const std::vector<double>& sent) {
  Walked walked;
  auto next = sent.begin();
  for (const double value : values) {
    const auto at = std::find(next, sent.end(), value);
    if (at == sent.end()) {
      ++walked.foreign;
      continue;
    }
    walked.missing += static_cast<std::size_t>(at - next);
    walked.jumps += at != next;
    next = at + 1;
  }
  walked.missing += static_cast<std::size_t>(sent.end() - next);
  return walked;
}

class SerialLineTest : public ::testing::Test {
 protected:
  void SetUp() override {
    if (Folder().empty()) GTEST_SKIP() << "run by serial-line.sh, which maps the COM ports";
    rig_.RecordEveryFrame();
    port_.SetOnComm([this] { rig_.link.OnPortEvent(); });
  }
  void TearDown() override { rig_.link.ClosePort(); }
  // Opens port `port` at the speed of `baudIndex`; the message shown, if any.
  std::string Open(int port, const std::string& baudIndex = "10") {
    rig_.messages.shown.clear();
    rig_.link.ClosePort();
    rig_.config.CommPort = port;
    rig_.config.BaudIndex = baudIndex;
    rig_.link.PortConfig();
    return rig_.messages.shown.empty() ? "" : rig_.messages.shown.back().text;
  }
  // The frames the simulator of COM`port` wrote whole and how many it cut short because its
  // line was full, once it has ended and the last of them was handled here.
  struct Sent {
    std::vector<double> frames;
    std::size_t cut = 0;
  };
  Sent SentWhenAllArrived(int port) {
    const std::string name = Folder() + "\\line" + std::to_string(port);
    const std::wstring stats = Widen(name + ".stats");
    const bool ended = MessageWindow::RunUntil(
        [&] { return ::GetFileAttributesW(stats.c_str()) != INVALID_FILE_ATTRIBUTES; },
        kLongWaitMs);
    EXPECT_TRUE(ended) << "the simulator of COM" << port << " did not end";
    Sent sent;
    for (const std::string& frame : Split(ReadFile(name + ".log"), "\n")) {
      sent.frames.push_back(Number(frame));
    }
    for (const std::string& line : Split(ReadFile(name + ".stats"), "\n")) {
      if (line.starts_with("frames_undelivered=")) sent.cut = std::stoul(line.substr(19));
    }
    EXPECT_FALSE(sent.frames.empty());
    if (!ended || sent.frames.empty()) return sent;
    EXPECT_TRUE(MessageWindow::RunUntil(
        [&] { return !rig_.values.empty() && rig_.values.back() == sent.frames.back(); },
        kLongWaitMs));
    return sent;
  }

  MessageWindow window_;
  Win32Clock clock_;
  CountingPort port_{window_, clock_};
  ReceiveRig rig_{port_, clock_};
};

TEST_F(SerialLineTest, FramesAt921600ArriveWholeAndInOrderInAnySplit) {
  ASSERT_EQ(Open(1), "");
  const Sent sent = SentWhenAllArrived(1);
  EXPECT_EQ(sent.frames.size(), 30000u);
  // A pseudo-terminal holds some 0.2 s of this line. A reader the machine keeps from running for
  // longer loses characters there, which such a line cannot report (a driver does); the
  // simulator counts the frames it cut, and each costs no more than the frame it runs into.
  // What comes before the first end after the opening may be a tail and is never a frame.
  const Walked walked = Walk(rig_.values, sent.frames);
  EXPECT_LE(walked.foreign, sent.cut);
  EXPECT_LE(walked.missing, sent.cut + 1);
  if (sent.cut == 0) {
    EXPECT_EQ(rig_.values.front(), sent.frames.at(1));
  }
  EXPECT_GT(port_.splits, 0) << "no read ended inside a frame";
  EXPECT_EQ(port_.gaps, 1) << "only the opening comes before a read";
}

// Every frame handled was sent, in order; frames are missing only where a read followed an
// opening (the first frame after each may be a tail), so that no frame is made of the pieces
// around a pull. The line is busy half the time, so that pulls cut frames, and its
// pseudo-terminal holds some 0.4 s of it, so that a busy machine does not lose characters there,
// which a pull cannot be told from.
TEST_F(SerialLineTest, APulledAdapterIsOpenedAgainAndTheFrameItCutIsDropped) {
  ASSERT_EQ(Open(2), "");
  const Walked walked = Walk(rig_.values, SentWhenAllArrived(2).frames);
  EXPECT_EQ(walked.foreign, 0u) << "a frame was made of pieces, or handled out of order";
  EXPECT_GE(port_.gaps, 3) << "opened again at least twice";
  EXPECT_LE(walked.jumps, static_cast<std::size_t>(port_.gaps));
  EXPECT_TRUE(rig_.messages.shown.empty()) << rig_.messages.shown.front().text;
}

// Each speed of the table is what the line is set to, always 8 data bits, no parity, 1 stop
// bit, no flow control. Wine lets a second handle look at the line's settings.
TEST_F(SerialLineTest, EachSpeedOfTheTableIsSetOnTheLine) {
  std::vector<std::string> set, expected;
  for (std::size_t index = 0; index < BaudTable.size(); ++index) {
    ASSERT_EQ(Open(3, std::to_string(index)), "");
    UniqueHandle look(
        ::CreateFileW(L"\\\\.\\COM3", GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr));
    DCB line{};
    line.DCBlength = sizeof line;
    ASSERT_TRUE(look && ::GetCommState(look.Get(), &line));
    const bool plain = line.ByteSize == 8 && line.Parity == NOPARITY &&
                       line.StopBits == ONESTOPBIT && !line.fOutxCtsFlow && !line.fOutxDsrFlow &&
                       !line.fInX && !line.fOutX;
    // Wine 8 sets the speed through termios, which has no 33600: it takes 38400 instead.
    const DWORD speed = BaudTable[index] == 33600 && line.BaudRate == 38400 ? 33600 : line.BaudRate;
    set.push_back(std::to_string(speed) + (plain ? " 8N1" : " other framing"));
    expected.push_back(std::to_string(BaudTable[index]) + " 8N1");
  }
  EXPECT_EQ(set, expected);
  EXPECT_EQ(port_.Settings(), "921600,n,8,1");
}

// Hand-overs come no sooner than the wait allowed after the last one, however often characters
// come; each read keeps the instant it was taken, also when it waits for the next hand-over.
TEST_F(SerialLineTest, HandOversComeNoSoonerThanTheWaitAllowed) {
  constexpr ULONGLONG kWaitMs = 300;
  // What the system's tick may round a wait down by.
  constexpr ULONGLONG kTickMs = 20;
  port_.SetMaxWait(static_cast<int>(kWaitMs));
  std::vector<ULONGLONG> handedAt;
  std::vector<std::size_t> instants;
  port_.SetOnComm([&] {
    handedAt.push_back(::GetTickCount64());
    const Received in = port_.Input();
    std::vector<Instant> at;
    for (const LineRead& read : in.reads) at.push_back(read.at);
    instants.push_back(static_cast<std::size_t>(std::unique(at.begin(), at.end()) - at.begin()));
  });
  ASSERT_EQ(Open(3, "3"), "");
  ASSERT_TRUE(MessageWindow::RunUntil([&] { return handedAt.size() >= 6; }, kLongWaitMs));
  for (std::size_t i = 1; i < handedAt.size(); ++i) {
    EXPECT_GE(handedAt[i] - handedAt[i - 1], kWaitMs - kTickMs) << "hand-over " << i;
  }
  EXPECT_GT(*std::max_element(instants.begin(), instants.end()), 1u)
      << "no hand-over carried reads of more than one instant";
}

// Runs this program again as a second program that opens COM3 (SerialLineChild below); true
// when that test passed.
bool SecondProgramPasses(const std::string& expect) {
  wchar_t self[MAX_PATH];
  ::GetModuleFileNameW(nullptr, self, MAX_PATH);
  Child child(Narrow(self), {"--gtest_filter=SerialLineChild.*"},
              {{"TARNWELL_SERIAL_CHILD", expect.empty() ? "opened" : expect}});
  return child.Wait(kLongWaitMs / 1000) == 0u;
}

// While this program holds COM3, a second one is refused it as in use, and so is a second port
// in this one; once it is closed, the port is free again.
TEST_F(SerialLineTest, ASecondOpenerIsRefusedAsInUseByAnotherProgram) {
  ASSERT_EQ(Open(3), "");
  EXPECT_TRUE(SecondProgramPasses("in use by another program (COM3)"));
  Win32SerialPort second(window_, clock_);
  second.SetCommPort(3);
  const SerialError refused = second.SetPortOpen(true).value_or(SerialError{});
  EXPECT_EQ(std::to_string(refused.number) + ":" + refused.description,
            "8003:in use by another program (COM3)");
  rig_.link.ClosePort();
  EXPECT_TRUE(SecondProgramPasses(""));
}

// The second program: opening COM3 gives the error TARNWELL_SERIAL_CHILD names, or none.
TEST(SerialLineChild, OpensTheHeldPort) {
  const char* expect = std::getenv("TARNWELL_SERIAL_CHILD");
  if (expect == nullptr) GTEST_SKIP() << "started by SerialLineTest as a second program";
  MessageWindow window;
  Win32Clock clock;
  Win32SerialPort port(window, clock);
  port.SetCommPort(3);
  const auto refused = port.SetPortOpen(true);
  EXPECT_EQ(refused ? refused->description : "opened", expect);
}

TEST_F(SerialLineTest, PortsThatCannotBeOpenedAreToldWithTheDeviceAndWhatIsWrong) {
  EXPECT_EQ(Open(200), "Port error  8001:No such file or directory (COM200)");
  EXPECT_FALSE(port_.PortOpen());
  EXPECT_EQ(Open(4), "Port error  8003:not a serial device (COM4)");
  EXPECT_FALSE(port_.PortOpen());
}

TEST_F(SerialLineTest, TheDeviceListNamesTheMappedPorts) {
  const Win32SerialDevices devices;
  const std::vector<std::string> listed = devices.Devices();
  for (const char* mapped : {"COM1", "COM2", "COM3", "COM4"}) {
    EXPECT_NE(std::find(listed.begin(), listed.end(), mapped), listed.end()) << mapped;
  }
  EXPECT_TRUE(std::is_sorted(listed.begin(), listed.end(), [&](const auto& a, const auto& b) {
    return devices.PortOf(a) < devices.PortOf(b);
  }));
  const Regional regional;
  EXPECT_EQ(PortDeviceLine("3", regional, devices), "COM3: present");
  EXPECT_EQ(PortDeviceLine("99", regional, devices), "COM99: not present");
  EXPECT_NE(PortDeviceList(devices).find("\n3: COM3"), std::string::npos)
      << PortDeviceList(devices);
}

// A device of the ports class that the system lists as the adapter of COM3, as a driver's
// installation makes one; removed again at the end.
class RegisteredAdapter {
 public:
  RegisteredAdapter() : set_(::SetupDiCreateDeviceInfoList(&kPortsClass, nullptr)) {
    info_.cbSize = sizeof info_;
    made_ = ::SetupDiCreateDeviceInfoW(set_, L"Ports", &kPortsClass, nullptr, nullptr,
                                       DICD_GENERATE_ID, &info_) &&
            ::SetupDiRegisterDeviceInfo(set_, &info_, 0, nullptr, nullptr, nullptr);
    const HKEY key =
        ::SetupDiCreateDevRegKeyW(set_, &info_, DICS_FLAG_GLOBAL, 0, DIREG_DEV, nullptr, nullptr);
    const wchar_t port[] = L"COM3";
    made_ = made_ && key != INVALID_HANDLE_VALUE &&
            ::RegSetValueExW(key, L"PortName", 0, REG_SZ, reinterpret_cast<const BYTE*>(port),
                             sizeof port) == ERROR_SUCCESS;
    if (key != INVALID_HANDLE_VALUE) ::RegCloseKey(key);
  }
  ~RegisteredAdapter() {
    if (made_) ::SetupDiRemoveDevice(set_, &info_);
    ::SetupDiDestroyDeviceInfoList(set_);
  }
  bool Made() const { return made_; }
  void Name(const std::wstring& friendly, const std::wstring& maker) {
    for (const auto& [property, text] :
         {std::pair(SPDRP_FRIENDLYNAME, friendly), {SPDRP_MFG, maker}}) {
      ::SetupDiSetDeviceRegistryPropertyW(set_, &info_, property,
                                          reinterpret_cast<const BYTE*>(text.c_str()),
                                          static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t)));
    }
  }

 private:
  HDEVINFO set_;
  SP_DEVINFO_DATA info_{};
  bool made_ = false;
};

// The adapter's name as the system gives it, without the port it names and with its maker where
// the name leaves the maker out; nothing for a port without one.
TEST_F(SerialLineTest, TheAdapterIsNamedAsTheSystemNamesIt) {
  RegisteredAdapter adapter;
  ASSERT_TRUE(adapter.Made());
  const Win32SerialDevices devices;
  std::vector<std::string> names;
  for (const auto& [friendly, maker] : std::vector<std::pair<std::wstring, std::wstring>>{
           {L"USB Serial Port (COM3)", L"FTDI"},
           {L"Prolific USB-to-Serial Comm Port (COM3)", L"Prolific"},
           {L"Communications Port (COM3)", L"(Standard port types)"},
           {L"", L"FTDI"}}) {
    adapter.Name(friendly, maker);
    names.push_back(devices.UsbName("COM3"));
  }
  EXPECT_EQ(names,
            (std::vector<std::string>{"FTDI USB Serial Port", "Prolific USB-to-Serial Comm Port",
                                      "Communications Port", "FTDI"}));
  EXPECT_EQ(devices.UsbName("COM1"), "");
  EXPECT_EQ(PortDeviceLine("3", Regional{}, devices), "COM3: present, FTDI");
}

}  // namespace
}  // namespace tarnwell::testing
