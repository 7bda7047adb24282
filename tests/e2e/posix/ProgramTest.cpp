// SPDX-License-Identifier: GPL-3.0-or-later
// The real program as a process: from the port to the record file, a second start, termination.
#include <gtest/gtest.h>
#include <sys/file.h>
#include <sys/ioctl.h>

#include <cmath>
#include <cstdio>
#include <regex>
#include <set>

#include "posix/ChildProcess.h"
#include "posix/TinyTmpfs.h"

namespace tarnwell::testing {
namespace {

namespace fs = std::filesystem;
using namespace std::string_literals;

// What is wrong when `device` is opened as a user other than root (nobody, where the test runs as
// root); nothing when it opens.
std::string OpenAsAnotherUser(const std::string& device) {
  std::vector<std::string> argv{"sh", "-c", "exec 3<\"$0\"", device};
  if (::geteuid() == 0)
    argv.insert(argv.begin(),
                {"setpriv", "--reuid=65534", "--regid=65534", "--clear-groups", "--"});
  return ChildProcess::Run(argv).output;
}

// The program of the build with a data folder of its own, its message boxes written to a file.
class ProgramTest : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!fs::exists(bin_ + "/tarnwell") || !fs::exists(SimulatorPath())) GTEST_SKIP();
  }
  // With config.ini holding `settings` ("CommPort=1;..."), `env` added ("TARNWELL_MESSAGE_LOG="
  // lets boxes wait).
  void Start(const std::string& settings, const std::vector<std::string>& env = {},
             ChildProcess* program = nullptr, bool streams = true) {
    if (!settings.empty()) WriteFile(dir_ / "config.ini", ConfigIniText(ConfigOf(settings)));
    std::vector<std::string> all{"TARNWELL_HOME=" + dir_.Path(),
                                 "TARNWELL_MESSAGE_LOG=" + dir_ / "messages.log", "LC_ALL=C"};
    all.insert(all.end(), env.begin(), env.end());
    ASSERT_TRUE((program ? *program : program_)
                    .Start(bin_ + "/tarnwell", {}, all, streams ? dir_ / "out" : ""));
  }
  // True when it ends with 0 on the request sent at log-out (once it has its handler).
  bool Stop() {
    const bool caught = WaitUntil([&] { return program_.Catches(SIGTERM); }, 30);
    return caught && (program_.Signal(SIGTERM), program_.Wait(30) == 0);
  }

  // The value of the field `name` in config.ini, the text before its comment.
  std::string Setting(const std::string& name) const {
    const auto lines = Split(ReadFile(dir_ / "config.ini"), "\r\n");
    const auto n = static_cast<std::size_t>(ConfigLineOf(name));
    return n <= lines.size() ? lines[n - 1].substr(0, lines[n - 1].find('\'')) : "";
  }
  // The one record file; empty when there is none or more than one.
  fs::path RecordFile() const {
    std::vector<fs::path> files;
    if (fs::exists(dir_ / "Log")) files.assign(fs::directory_iterator(dir_ / "Log"), {});
    return files.size() == 1 ? files[0] : fs::path();
  }
  // The record's lines as "<count>\t<value>\n", their dates (dd/mm/yy, or dd.mm.yy in German)
  // and times left out.
  std::string Records(bool german = false) const {
    const std::string date = std::string("\\d\\d[") + (german ? '.' : '/') + "]";
    const std::regex stamp("\\t" + date + date + R"(\d\d\t\d\d:\d\d:\d\d\t\d{3}\r\n)");
    return std::regex_replace(ReadFile(RecordFile()), stamp, "\n");
  }
  // Records() for each frame the simulator sent but the first, which the program cannot tell
  // from the end of one sent before it opened the port.
  std::string RecordsOfTheFramesSent(char decimalMark = '.') const {
    std::string expected;
    const std::vector<std::string> sent = sim_.Logged();
    for (std::size_t i = 1; i < sent.size(); ++i) {
      std::string value = Fixed(Number(sent[i].substr(sent[i].find('\t') + 1)), 2);
      value[value.size() - 3] = decimalMark;
      expected += std::to_string(i) + "\t" + value + "\n";
    }
    return expected;
  }
  static constexpr const char* kRecordingFromTheStart =
      "CommPort=1;LogTime=0;LogEnable=1;Language=255;RecordOnStartup=1";
  const std::string bin_ = std::getenv("TARNWELL_BIN");
  TempDir dir_;
  SimProcess sim_{dir_.Path()};
  ChildProcess program_;
};

// Every frame recorded in order, nothing else, none before it was written, in the German form,
// while boxes wait and the disk is full for a while; a second start ends, a folder lock is no bar.
TEST_F(ProgramTest, RecordsEveryFrameThroughAFullDiskAtItsTimeInTheRegionalForm) {
  TinyTmpfs disk("2m", dir_ / "Log");
  if (!disk.Mounted()) std::cout << "mounting a tmpfs is not permitted here: the disk stays free\n";
  ASSERT_TRUE(sim_.Start({"--baud", "921600", "--rate", "500", "--pattern", "count", "--count",
                          "3000", "--log-times", "--wait"}));
  const int folder = ::open(dir_.Path().c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  ASSERT_EQ(::flock(folder, LOCK_EX | LOCK_NB), 0);
  const bool german =
      ChildProcess::Run({"localedef", "-i", "de_DE", "-f", "UTF-8", dir_ / "de_DE.UTF-8"})
          .exitCode == 0;
  if (!german) std::cout << "de_DE.UTF-8 cannot be made here: recorded in C\n";
  std::vector<std::string> env{german ? "LC_ALL=de_DE.UTF-8" : "LC_ALL=C", "LOCPATH=" + dir_.Path(),
                               "TARNWELL_MESSAGE_LOG="};
  Start(kRecordingFromTheStart + ";BaudIndex=3;Performance=2;LogIncremental=1"s, env, nullptr,
        false);
  ASSERT_TRUE(WaitUntil([&] { return program_.Catches(SIGTERM); }, 30));
  // Started with its standard streams closed, it leads them to /dev/null first.
  for (int fd : {0, 1, 2}) EXPECT_EQ(program_.Descriptor(fd), "/dev/null") << fd;
  ChildProcess second;
  env.back() += dir_ / "messages.log";
  Start("", env, &second);
  EXPECT_EQ(second.Wait(30), std::optional<int>(1));
  EXPECT_EQ(fs::status(dir_ / ".lock").permissions() & fs::perms::others_all, fs::perms::none);
  ASSERT_TRUE(WaitUntil([&] { return Split(Records(german), "\n").size() > 500; }, 30));
  if (disk.Mounted()) {
    const std::string filler = disk.Fill();
    const std::size_t sent = sim_.Logged().size();
    WaitUntil([&] { return sim_.Logged().size() > sent + 1000; }, 60);
    fs::remove(filler);
  }
  // The simulator ends once the program has taken all its frames.
  EXPECT_EQ(sim_.process.Wait(60), 0);
  const std::string expected = RecordsOfTheFramesSent(german ? ',' : '.');
  std::vector<double> written;  // each frame's time of writing, in ms of its day
  for (const std::string& frame : sim_.Logged()) written.push_back(std::floor(std::stod(frame)));
  written.erase(written.begin());
  ASSERT_EQ(written.size(), 2999u);
  WaitUntil([&] { return Records(german) == expected; }, 30);
  ASSERT_TRUE(Stop());
  ASSERT_EQ(Records(german), expected);
  EXPECT_EQ(Setting("LogFileName"), RecordFile().filename());
  EXPECT_EQ(ReadFile(dir_ / "messages.log"),
            "Tarnwell\tTarnwell is already running in " + dir_.Path() +
                ". This start ends without opening the port or recording.\n");

  // Times of day in ms (across midnight counting on): none before its frame or the line above.
  const auto lines = Split(ReadFile(RecordFile()), "\r\n");
  const auto day = [](double ms, double before) { return ms + (ms < before - 43200e3) * 86400e3; };
  double above = 0;
  int wrong = 0;
  for (std::size_t i = 0; i < written.size(); ++i) {
    int h = 0, m = 0, s = 0, milli = 0;
    std::sscanf(lines[i].c_str(), "%*s %*s %*s %d:%d:%d %d", &h, &m, &s, &milli);
    const double ms = day(((h * 60 + m) * 60 + s) * 1000.0 + milli, above);
    wrong += ms < day(written[i], ms - 1000) || (i > 0 && ms < above);
    above = ms;
  }
  EXPECT_EQ(wrong, 0);
  ::close(folder);
}

// Stopped until the line's buffer is full, the program then takes the backlog whole: every frame
// written to the line is recorded, in order, the counts without a gap and without a message.
// The writer waits for room ("--flow"), or frames finding the line full are lost before it, as on
// a wire; a pseudo-terminal itself loses nothing.
TEST_F(ProgramTest, AfterAStopEveryFrameWrittenToThePseudoTerminalIsRecorded) {
  for (const std::string writer : {"--flow", ""}) {
    fs::remove_all(dir_ / "Log"), fs::remove(dir_ / "messages.log");
    std::vector<std::string> args{"--baud",  "921600", "--pattern", "count",
                                  "--count", "20000",  "--wait"};
    if (!writer.empty()) args.push_back(writer);
    ASSERT_TRUE(sim_.Start(args));
    Start(kRecordingFromTheStart + ";BaudIndex=10"s);
    const auto lines = [&] { return Split(ReadFile(RecordFile()), "\r\n"); };
    ASSERT_TRUE(WaitUntil([&] { return lines().size() > 1000; }, 30));
    program_.Signal(SIGSTOP);
    // Beside the program's exclusive hold only root may open the line to see its buffer.
    const int line = ::open(sim_.link.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (line < 0) GTEST_SKIP() << "only root sees the line's buffer";
    int unread = 0;
    EXPECT_TRUE(WaitUntil([&] { return !::ioctl(line, FIONREAD, &unread) && unread >= 4095; }, 30));
    ::close(line);
    program_.Signal(SIGCONT);
    EXPECT_EQ(sim_.process.Wait(60), 0);
    ASSERT_TRUE(Stop());
    EXPECT_EQ(Records(), RecordsOfTheFramesSent()) << writer;
    EXPECT_EQ(ReadFile(dir_ / "messages.log"), "") << writer;
  }
}

// The device the program held is free again for anybody once it has ended, also where its
// other end stays open (a pseudo-terminal), so that the next start finds it.
TEST_F(ProgramTest, TheDeviceIsFreeForAnyUserOnceTheProgramHasEnded) {
  ASSERT_TRUE(sim_.Start({"--baud", "9600"}));
  Start("CommPort=1;Language=255");
  ASSERT_TRUE(WaitUntil([&] { return program_.Holds(sim_.link); }, 30));
  const std::string device = fs::canonical(sim_.link);
  EXPECT_NE(OpenAsAnotherUser(device).find("busy"), std::string::npos) << "held while it runs";
  ASSERT_TRUE(Stop());
  EXPECT_EQ(OpenAsAnotherUser(device), "");
}

// Started maximised and restored, or started plain, the window takes the stored size with its
// frame, run after run.
TEST_F(ProgramTest, RestoredFromAMaximisedStartTheWindowKeepsItsStoredSize) {
  if (ChildProcess::Run({"which", "Xvfb", "openbox", "wmctrl"}).exitCode) GTEST_SKIP();
  ChildProcess xvfb, wm;
  ASSERT_TRUE(xvfb.Start("sh", {"-c", "exec Xvfb -displayfd 1 -screen 0 1920x1080x24 2>/dev/null"},
                         {}, dir_ / "xvfb"));
  ASSERT_TRUE(WaitUntil([&] { return ReadFile(dir_ / "xvfb").ends_with("\n"); }, 30));
  const std::string display = "DISPLAY=:" + Split(ReadFile(dir_ / "xvfb"), "\n")[0];
  const auto sh = [&](const std::string& script) {
    return ChildProcess::Run({"sh", "-c", script}, {display}).output;
  };
  ASSERT_TRUE(wm.Start("openbox", {}, {display}, dir_ / "wm"));
  ASSERT_TRUE(WaitUntil([&] { return sh("wmctrl -m").starts_with("Name: Openbox"); }, 30));
  // The window: "maximised", or its outer size in pixels once the window manager framed it.
  const std::string window =
      "w=$(wmctrl -l | awk '/Tarnwell/ {print $1}') && { xwininfo -id $w; xprop -id $w"
      " _NET_WM_STATE _NET_FRAME_EXTENTS; } | awk -F '[:=,] *' '/MAXIMIZED_HORZ/ {m=1}"
      " /Width/ {w=$2} /Height/ {h=$2} /EXTENTS/ {f=1; w+=$2+$3; h+=$4+$5} END {if (m)"
      " printf \"maximised\"; else if (f) printf w \"x\" h}'";
  // Three runs started maximised, then one started as it was left.
  for (int run = 0; run < 4; ++run) {
    const std::string w = run ? Setting("WindowWidth") : "9000",
                      h = run ? Setting("WindowHeight") : "6000";
    Start("CommPort=0;Language=255;WindowState=" + std::string(run < 3 ? "2" : "0") +
              ";WindowWidth=" + w + ";WindowHeight=" + h,
          {display, "QT_QPA_PLATFORM=xcb"});
    ASSERT_TRUE(run == 3 || WaitUntil([&] { return sh(window) == "maximised"; }, 30));
    sh("wmctrl -r Tarnwell -b remove,maximized_vert,maximized_horz");
    EXPECT_TRUE(WaitUntil([&] { return sh(window) == "600x400"; }, 30)) << sh(window);
    ASSERT_TRUE(Stop()) << ReadFile(dir_ / "out");
    EXPECT_EQ(Setting("WindowState"), "0");
    EXPECT_NEAR(std::stod(Setting("WindowWidth")), 9000, 15) << run;
    EXPECT_NEAR(std::stod(Setting("WindowHeight")), 6000, 15) << run;
  }
}

// A damaged file stays while the renewal box waits; settings read, while the port box waits.
TEST_F(ProgramTest, EndsOnATerminationRequestWhileAMessageBoxWaits) {
  fs::create_directories(dir_ / "ports");
  WriteFile(dir_ / "ports/COM5", "not a device");
  const std::string settings = ConfigIniText(
      ConfigOf("CommPort=5;Language=255;LineMode=1;WindowWidth=9000;WindowHeight=7000"));
  const std::string readable = std::regex_replace(settings, std::regex("\r\n"), "\n");
  for (const auto& [given, kept] :
       {std::pair{std::string("garbage\r\n"), std::string("garbage\r\n")},
        std::pair{readable, settings}}) {
    WriteFile(dir_ / "config.ini", given);
    Start("", {"TARNWELL_MESSAGE_LOG="});
    EXPECT_TRUE(Stop());
    EXPECT_EQ(ReadFile(dir_ / "config.ini"), kept);
  }
}

// The same request while the port box waits, with the data folder on a disk that fills: ends
// with 0 while the settings can be saved, with 1 once they cannot.
TEST_F(ProgramTest, ATerminationRequestTellsWhetherTheSettingsWereSaved) {
  TinyTmpfs disk("1m");
  if (!disk.Mounted()) GTEST_SKIP() << "mounting a tmpfs is not permitted here";
  const std::string data = disk.Path() + "/data";
  fs::create_directories(data + "/ports");
  WriteFile(data + "/ports/COM5", "not a device");
  WriteFile(data + "/.lock", "");
  for (const bool full : {false, true}) {
    WriteFile(data + "/config.ini", ConfigIniText(ConfigOf("CommPort=5;Language=255")));
    if (full) disk.Fill();
    Start("", {"TARNWELL_MESSAGE_LOG=", "TARNWELL_HOME=" + data});
    ASSERT_TRUE(WaitUntil([&] { return program_.Catches(SIGTERM); }, 30));
    program_.Signal(SIGTERM);
    EXPECT_EQ(program_.Wait(30), full ? 1 : 0) << full;
  }
}

// A packaged program keeps each user's data in the user's folder, its languages beside itself.
TEST_F(ProgramTest, APackagedProgramRenewsSettingsInTheUsersOwnFolderAndEndsWithoutLanguages) {
  fs::create_directories(dir_ / "opt");
  fs::copy_file(bin_ + "/tarnwell", dir_ / "opt/tarnwell");
  WriteFile(dir_ / "opt/per-user-data", "");
  ASSERT_TRUE(program_.Start(dir_ / "opt/tarnwell", {},
                             {"TARNWELL_HOME=", "XDG_DATA_HOME=", "HOME=" + dir_ / "home",
                              "TARNWELL_MESSAGE_LOG=" + dir_ / "messages.log"},
                             dir_ / "out"));
  ASSERT_EQ(program_.Wait(60), 1) << "still running, killed or ended as if all was well";
  const std::string data = dir_ / "home/.local/share/tarnwell";
  EXPECT_EQ(
      ReadFile(dir_ / "messages.log"),
      "Tarnwell\tCan not open " + data +
          "/config.ini file. The configuration file renewed.\n"
          "Language File Error\tCan not find the Turkish Language file, or the file is corrupted!\n"
          "File Error\tCan not find Language file or file is corrupted!\n");
  EXPECT_EQ(Split(ReadFile(data + "/config.ini"), "\r\n").at(18).substr(0, 4), "255'");
}

// A device not there at the start is named, looked for and recorded once it comes.
TEST_F(ProgramTest, ADeviceThatComesAfterTheStartIsOpenedByItselfAndRecorded) {
  fs::create_directories(dir_ / "ports");
  fs::create_symlink(dir_ / "adapter-not-plugged-in", sim_.link);
  Start(kRecordingFromTheStart);
  const std::string told =
      "Tarnwell\tThe serial port cannot be opened or used.  8001:No such file or directory (" +
      sim_.link + ")\n";
  ASSERT_TRUE(WaitUntil([&] { return ReadFile(dir_ / "messages.log") == told; }, 30));
  ASSERT_TRUE(sim_.Start({"--pattern", "count", "--count", "20", "--wait", "--stay"}));
  const auto recorded = [&] { return ReadFile(RecordFile()).find("\t100.19\t"); };
  EXPECT_TRUE(WaitUntil([&] { return recorded() != std::string::npos; }, 30));
  EXPECT_TRUE(Stop());
}

}  // namespace
}  // namespace tarnwell::testing
