// SPDX-License-Identifier: GPL-3.0-or-later
#include <fcntl.h>
#include <grp.h>
#include <gtest/gtest.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <csignal>
#include <filesystem>
#include <thread>

#include "ChildProcess.h"
#include "TempDir.h"
#include "TestFiles.h"

namespace tarnwell::testing {
namespace {

namespace fs = std::filesystem;

const fs::path kFolder = "/opt/tarnwell";
const fs::path kMenuEntry = "/usr/share/applications/tarnwell.desktop";

bool Have(const std::string& command) {
  return ChildProcess::Run({"sh", "-c", "command -v " + command}).exitCode == 0;
}

// "installed", "config-files" and the like; empty when dpkg knows no such package.
std::string PackageStatus() {
  const auto query = ChildProcess::Run({"dpkg-query", "-W", "-f=${db:Status-Status}", "tarnwell"});
  return query.exitCode == 0 ? query.output : std::string();
}

bool Known() {
  const std::string status = PackageStatus();
  return !status.empty() && status != "not-installed";
}

// dpkg refuses at once while apt or another dpkg holds its lock; wait for that to pass.
ChildProcess::Result Dpkg(const std::vector<std::string>& args) {
  std::vector<std::string> argv{"dpkg"};
  argv.insert(argv.end(), args.begin(), args.end());
  ChildProcess::Result result;
  for (int attempt = 0; attempt < 30; ++attempt) {
    result = ChildProcess::Run(argv);
    if (result.exitCode == 0 || result.output.find("lock") == std::string::npos) break;
    std::this_thread::sleep_for(std::chrono::seconds(1));
  }
  return result;
}

// Two builds testing at once would install the same package over each other.
struct MachineLock {
  MachineLock() {
    if (fd >= 0) ::flock(fd, LOCK_EX);
  }
  ~MachineLock() {
    if (fd >= 0) ::close(fd);
  }
  const int fd = ::open("/tmp/tarnwell-package-test.lock", O_RDWR | O_CREAT | O_CLOEXEC, 0600);
};

// Whatever fails on the way, the machine is left without the package and without the folder,
// which did not exist before the test.
struct PurgeAtEnd {
  ~PurgeAtEnd() {
    if (Known()) Dpkg({"--purge", "tarnwell"});
    std::error_code ignored;
    fs::remove_all(kFolder, ignored);
  }
};

struct Owner {
  uid_t uid = 0;
  gid_t gid = 0;
  unsigned mode = 0;
};

Owner OwnerOf(const fs::path& path) {
  struct stat st {};
  if (::stat(path.c_str(), &st) != 0) return {};
  return {st.st_uid, st.st_gid, st.st_mode & 07777u};
}

std::string ControlField(const fs::path& deb, const std::string& field) {
  return ChildProcess::Run({"dpkg-deb", "-f", deb.string(), field}).output;
}

struct ProgramRun {
  bool stillRunning = false;  // after the start-up time
  int exitCode = -1;          // after SIGTERM; -1 when it had to be killed or was not started
  std::string messages;       // the message boxes it showed, one line each
  std::string output;
};

// An operator: own user and group, and the one supplementary group `group`.
struct RunAs {
  uid_t uid;
  gid_t gid;
  gid_t group;
};

// Starts the installed program offscreen as `user` (no TARNWELL_HOME: it uses its own folder),
// lets it run for the start-up time and ends it as a desktop session would, with SIGTERM. The
// message boxes go to a file in scratch.
ProgramRun RunProgramBriefly(const fs::path& scratch, const RunAs& user) {
  const fs::path messages = scratch / "messages.log";
  fs::create_directories(scratch / "runtime");
  fs::permissions(scratch / "runtime", fs::perms::owner_all);
  if (::chown(scratch.c_str(), user.uid, user.gid) != 0 ||
      ::chown((scratch / "runtime").c_str(), user.uid, user.gid) != 0) {
    return {};
  }
  const std::vector<std::string> env{
      "QT_QPA_PLATFORM=offscreen", "TARNWELL_MESSAGE_LOG=" + messages.string(), "TARNWELL_HOME",
      "HOME=" + scratch.string(), "XDG_RUNTIME_DIR=" + (scratch / "runtime").string()};
  const std::vector<std::string> args{
      "--reuid=" + std::to_string(user.uid), "--regid=" + std::to_string(user.gid),
      "--groups=" + std::to_string(user.group), "--", (kFolder / "tarnwell").string()};
  ProgramRun run;
  {
    const std::string output = scratch / "output.txt";
    ChildProcess child;
    if (!child.Start("setpriv", args, env, output, output)) return run;
    std::this_thread::sleep_for(std::chrono::seconds(3));
    run.stillRunning = child.Alive();
    child.Signal(SIGTERM);
    run.exitCode = child.Wait(10).value_or(-1);
    run.output = ReadFile(output);
  }
  run.messages = ReadFile(messages);
  return run;
}

TEST(Package, InstallsRunsForTheDialoutGroupAndPurgesClean) {
  if (::geteuid() != 0) GTEST_SKIP() << "installing a package needs root";
  if (!Have("dpkg") || !Have("dpkg-deb") || !Have("setpriv")) GTEST_SKIP() << "no dpkg or setpriv";
  const group* dialout = ::getgrnam("dialout");
  if (!dialout) GTEST_SKIP() << "no group dialout";
  const gid_t dialoutGid = dialout->gr_gid;
  MachineLock lock;
  if (Known()) GTEST_SKIP() << "tarnwell is installed on this machine; the test leaves it alone";
  if (fs::exists(kFolder)) GTEST_SKIP() << kFolder << " exists; the test leaves it alone";

  TempDir temp;
  ASSERT_FALSE(temp.Path().empty());
  // The operators' message logs lie in folders below it.
  fs::permissions(temp.Path(), fs::perms::others_exec | fs::perms::group_exec,
                  fs::perm_options::add);
  const auto cpack = ChildProcess::Run({TARNWELL_CPACK, "--config",
                                        std::string(TARNWELL_BUILD_DIR) + "/CPackConfig.cmake",
                                        "-B", temp / "package"});
  ASSERT_EQ(cpack.exitCode, 0) << cpack.output;
  fs::path deb;
  for (const auto& entry : fs::directory_iterator(temp / "package")) {
    if (entry.path().extension() == ".deb") deb = entry.path();
  }
  ASSERT_FALSE(deb.empty()) << cpack.output;

  EXPECT_EQ(ControlField(deb, "Package"), "tarnwell\n");
  const std::string depends = ControlField(deb, "Depends");
  for (const char* runtime : {"libqt6core6", "libqt6gui6", "libqt6widgets6", "libqt6serialport6",
                              "qt6-qpa-plugins", "libc6"}) {
    EXPECT_NE(depends.find(runtime), std::string::npos) << runtime << " in " << depends;
  }

  PurgeAtEnd purge;
  const auto install = Dpkg({"-i", deb.string()});
  ASSERT_EQ(install.exitCode, 0) << install.output;
  EXPECT_EQ(PackageStatus(), "installed");
  for (const fs::path& folder : {kFolder, kFolder / "Log"}) {
    const Owner owner = OwnerOf(folder);
    EXPECT_EQ(owner.gid, dialoutGid) << folder;
    EXPECT_EQ(owner.mode, 02775u) << folder;
  }
  EXPECT_NE(ReadFile(kMenuEntry).find("\nExec=/opt/tarnwell/tarnwell\n"), std::string::npos);
  EXPECT_TRUE(fs::is_regular_file("/usr/share/icons/hicolor/scalable/apps/tarnwell.svg"));
  EXPECT_TRUE(fs::is_regular_file("/usr/share/icons/hicolor/256x256/apps/tarnwell.png"));

  // Two operators who are only in the group dialout: the first start renews the missing
  // config.ini, and the second operator can still rewrite the file the first one made.
  const RunAs first{65534, 65534, dialoutGid};
  const RunAs second{65533, 65533, dialoutGid};
  const ProgramRun run1 = RunProgramBriefly(temp / "run1", first);
  EXPECT_TRUE(run1.stillRunning) << run1.output;
  EXPECT_EQ(run1.exitCode, 0) << run1.output;
  EXPECT_EQ(run1.messages.rfind(
                "Tarnwell\tCan not open /opt/tarnwell/config.ini file. The configuration file "
                "renewed.\n",
                0),
            0u)
      << run1.messages;
  EXPECT_EQ(run1.messages.find("File Error"), std::string::npos) << run1.messages;
  Owner config = OwnerOf(kFolder / "config.ini");
  EXPECT_EQ(config.uid, first.uid);
  EXPECT_EQ(config.gid, dialoutGid);

  const ProgramRun run2 = RunProgramBriefly(temp / "run2", second);
  EXPECT_EQ(run2.exitCode, 0) << run2.output;
  EXPECT_EQ(run2.messages.find("config.ini"), std::string::npos) << run2.messages;
  config = OwnerOf(kFolder / "config.ini");
  EXPECT_EQ(config.uid, second.uid);
  EXPECT_EQ(config.gid, dialoutGid);
  const std::string text = ReadFile(kFolder / "config.ini");
  EXPECT_EQ(text.rfind("0'Advanced mode or Customer. Use 0 as default\r\n", 0), 0u) << text;

  // What a write killed half way leaves goes with the settings.
  WriteFile(kFolder / "config.ini.new", "half");
  const auto remove = Dpkg({"--purge", "tarnwell"});
  EXPECT_EQ(remove.exitCode, 0) << remove.output;
  EXPECT_FALSE(fs::exists(kFolder)) << remove.output;
  EXPECT_FALSE(fs::exists(kMenuEntry));
  EXPECT_FALSE(Known()) << PackageStatus();
}

}  // namespace
}  // namespace tarnwell::testing
