// SPDX-License-Identifier: GPL-3.0-or-later
#include <fcntl.h>
#include <grp.h>
#include <gtest/gtest.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <set>
#include <sstream>
#include <thread>

#include "ChildProcess.h"
#include "TempDir.h"
#include "TestFiles.h"

namespace tarnwell::testing {
namespace {

namespace fs = std::filesystem;

const fs::path kFolder = "/opt/tarnwell";
const fs::path kMenuEntry = "/usr/share/applications/tarnwell.desktop";

// "installed", "config-files" and the like; empty when dpkg knows no such package.
std::string PackageStatus() {
  const auto query = ChildProcess::Run({"dpkg-query", "-W", "-f=${db:Status-Status}", "tarnwell"});
  return query.exitCode == 0 && query.output != "not-installed" ? query.output : "";
}

// dpkg refuses at once while apt or another dpkg holds its lock; wait for that to pass.
ChildProcess::Result Dpkg(const std::vector<std::string>& argv) {
  for (int attempt = 1;; ++attempt) {
    auto result = ChildProcess::Run(argv);
    if (result.exitCode == 0 || result.output.find("lock") == std::string::npos || attempt == 30) {
      return result;
    }
    std::this_thread::sleep_for(std::chrono::seconds(1));
  }
}

// Two builds testing at once would install the same package over each other. Whatever fails on
// the way, the machine is left without the package and the folder once the test installed it.
struct MachineLock {
  MachineLock() { ::flock(fd, LOCK_EX); }
  ~MachineLock() {
    std::error_code ignored;
    if (installing && !PackageStatus().empty()) Dpkg({"dpkg", "--purge", "tarnwell"});
    if (installing) fs::remove_all(kFolder, ignored);
    ::close(fd);
  }
  const int fd = ::open("/tmp/tarnwell-package-test.lock", O_RDWR | O_CREAT | O_CLOEXEC, 0600);
  bool installing = false;
};

// "<uid>:<gid>" of `path`, followed by its mode in octal when `mode`.
std::string Owner(const fs::path& path, bool mode = true) {
  struct stat st {};
  char text[64] = "missing";
  if (::stat(path.c_str(), &st) == 0) {
    std::snprintf(text, sizeof text, mode ? "%u:%u %o" : "%u:%u", st.st_uid, st.st_gid,
                  st.st_mode & 07777u);
  }
  return text;
}

// Runs the installed program offscreen as an operator with user and group `id` who is only in
// `group` (no TARNWELL_HOME: it uses its own folder) and ends it after the start-up time as a
// desktop session would. Its message boxes go to <scratch>/m.log.
ChildProcess::Result RunBriefly(const fs::path& scratch, unsigned id, const std::string& group) {
  const std::string uid = std::to_string(id);
  fs::create_directories(scratch);
  if (::chown(scratch.c_str(), id, id) != 0) return {};
  return ChildProcess::Run({"setpriv", "--reuid=" + uid, "--regid=" + uid, "--groups=" + group,
                            "--", "timeout", "--preserve-status", "3", kFolder / "tarnwell"},
                           {"TARNWELL_MESSAGE_LOG=" + scratch.string() + "/m.log",
                            "TARNWELL_HOME=", "HOME=" + scratch.string()});
}

TEST(Package, InstallsRunsForTheDialoutGroupAndPurgesClean) {
  const group* dialout = ::getgrnam("dialout");
  if (::geteuid() != 0 || !dialout ||
      ChildProcess::Run({"sh", "-c", "command -v dpkg-deb && command -v setpriv"}).exitCode) {
    GTEST_SKIP() << "needs root, the group dialout, dpkg and setpriv";
  }
  const std::string group = std::to_string(dialout->gr_gid);
  MachineLock lock;
  if (!PackageStatus().empty()) GTEST_SKIP() << "tarnwell is installed; the test leaves it alone";
  if (fs::exists(kFolder)) GTEST_SKIP() << kFolder << " exists; the test leaves it alone";

  TempDir temp;
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
  EXPECT_EQ(ChildProcess::Run({"dpkg-deb", "-f", deb, "Package"}).output, "tarnwell\n");
  const std::string depends = ChildProcess::Run({"dpkg-deb", "-f", deb, "Depends"}).output;
  for (const char* runtime : {"libqt6core6", "libqt6gui6", "libqt6widgets6", "libqt6serialport6",
                              "qt6-qpa-plugins", "libc6"}) {
    EXPECT_NE(depends.find(runtime), std::string::npos) << runtime << " in " << depends;
  }

  lock.installing = true;
  const auto install = Dpkg({"dpkg", "-i", deb});
  ASSERT_EQ(install.exitCode, 0) << install.output;
  EXPECT_EQ(PackageStatus(), "installed");
  EXPECT_EQ(Owner(kFolder) + ", " + Owner(kFolder / "Log"),
            "0:" + group + " 2775, 0:" + group + " 2775");
  EXPECT_NE(ReadFile(kMenuEntry).find("\nExec=/opt/tarnwell/tarnwell\n"), std::string::npos);
  EXPECT_TRUE(fs::is_regular_file("/usr/share/icons/hicolor/scalable/apps/tarnwell.svg"));
  EXPECT_TRUE(fs::is_regular_file("/usr/share/icons/hicolor/256x256/apps/tarnwell.png"));

  // Two operators who are only in the group dialout: the first start renews the missing
  // config.ini, and the second operator can still rewrite the file the first one made.
  const auto run1 = RunBriefly(temp / "run1", 65534, group);
  const std::string told1 = ReadFile(temp / "run1/m.log");
  EXPECT_EQ(run1.exitCode, 0) << run1.output;
  EXPECT_EQ(told1.rfind("Tarnwell\tCan not open /opt/tarnwell/config.ini file. The configuration "
                        "file renewed.\n",
                        0),
            0u)
      << told1;
  EXPECT_EQ(told1.find("File Error"), std::string::npos) << told1;
  EXPECT_EQ(Owner(kFolder / "config.ini", false), "65534:" + group);

  const auto run2 = RunBriefly(temp / "run2", 65533, group);
  EXPECT_EQ(run2.exitCode, 0) << run2.output;
  EXPECT_EQ(ReadFile(temp / "run2/m.log").find("config.ini"), std::string::npos);
  EXPECT_EQ(Owner(kFolder / "config.ini", false), "65533:" + group);
  const std::string text = ReadFile(kFolder / "config.ini");
  EXPECT_EQ(text.rfind("0'Advanced mode or Customer. Use 0 as default\r\n", 0), 0u) << text;

  // What a write killed half way leaves goes with the settings.
  WriteFile(kFolder / "config.ini.new", "half");
  const auto remove = Dpkg({"dpkg", "--purge", "tarnwell"});
  EXPECT_EQ(remove.exitCode, 0) << remove.output;
  EXPECT_FALSE(fs::exists(kFolder)) << remove.output;
  EXPECT_FALSE(fs::exists(kMenuEntry));
  EXPECT_EQ(PackageStatus(), "");
}

TEST(InstallLayout, PrefixBecomesTheProgramFolder) {
  TempDir temp;
  const fs::path prefix = temp / "Tarnwell";
  const auto install = ChildProcess::Run(
      {TARNWELL_CMAKE, "--install", TARNWELL_BUILD_DIR, "--prefix", prefix.string()});
  ASSERT_EQ(install.exitCode, 0) << install.output;

  // The menu entry and its icons lie outside the prefix and belong to the package only.
  std::set<std::string> found;
  for (const auto& entry : fs::recursive_directory_iterator(prefix)) {
    const std::string name = fs::relative(entry.path(), prefix);
    found.insert(name);
    if (name.ends_with(".lng")) {
      EXPECT_EQ(ReadFile(entry.path()), ReadFile(TARNWELL_SOURCE_DIR "/data/" + name)) << name;
    }
  }
  EXPECT_EQ(found, (std::set<std::string>{"bg.lng", "en.lng", "fr.lng", "gr.lng", "ru.lng",
                                          "sp.lng", "std.lng", "tarnwell", "tarnwell.png",
                                          "tarnwell.svg", "tr.lng"}));
  std::istringstream manifest(ReadFile(fs::path(TARNWELL_BUILD_DIR) / "install_manifest.txt"));
  for (std::string line; std::getline(manifest, line);) {
    EXPECT_EQ(line.rfind(prefix.string() + "/", 0), 0u) << "installed outside the prefix: " << line;
  }
  EXPECT_EQ(fs::status(prefix / "tarnwell").permissions() & fs::perms::all, fs::perms(0755));
}

}  // namespace
}  // namespace tarnwell::testing
