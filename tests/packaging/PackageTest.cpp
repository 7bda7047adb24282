// SPDX-License-Identifier: GPL-3.0-or-later
// The program folder a prefix install makes, and the Debian package on this machine as an
// administrator installs it and operators use it. The package test installs and purges a system
// package: it runs only where the build registers it (./test --package), which sets
// TARNWELL_PACKAGE_TEST; it needs root and leaves an existing installation alone.
#include <fcntl.h>
#include <grp.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <set>
#include <sstream>

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

// dpkg refuses at once while apt or another dpkg holds its lock; that is waited out.
ChildProcess::Result Dpkg(const std::vector<std::string>& argv) {
  ChildProcess::Result result;
  WaitUntil(
      [&] { return (result = ChildProcess::Run(argv)).output.find("lock") == std::string::npos; },
      60);
  return result;
}

// Where the package moves an old shared program folder; empty when there is none.
fs::path SharedFolderKept() {
  for (const auto& entry : fs::directory_iterator("/opt")) {
    if (entry.path().filename().string().starts_with("tarnwell-shared-")) return entry.path();
  }
  return {};
}

// Two builds testing at once would install the same package over each other. Whatever fails on
// the way, the machine is left without the package and its folders once the test installed it.
struct MachineLock {
  MachineLock() { ::flock(fd, LOCK_EX); }
  ~MachineLock() {
    std::error_code ignored;
    if (installing && !PackageStatus().empty()) Dpkg({"dpkg", "--purge", "tarnwell"});
    if (installing) fs::remove_all(kFolder, ignored);
    for (fs::path kept; installing && !(kept = SharedFolderKept()).empty();) fs::remove_all(kept);
    ::close(fd);
  }
  const int fd = ::open("/tmp/tarnwell-package-test.lock", O_RDWR | O_CREAT | O_CLOEXEC, 0600);
  bool installing = false;
};

// "<uid>:<gid> <mode in octal>" of `path`, not followed.
std::string Owner(const fs::path& path) {
  struct stat st {};
  char text[64] = "missing";
  if (::lstat(path.c_str(), &st) == 0) {
    std::snprintf(text, sizeof text, "%u:%u %o", st.st_uid, st.st_gid, st.st_mode & 07777u);
  }
  return text;
}

// The installed program started from the menu by operator `id`, who is only in the group `gid`,
// with the home folder `home`, and ended as a desktop session ends once its settings are written.
// What its message boxes said, and who owns what it made.
std::string RunAsOperator(const fs::path& home, unsigned id, const std::string& gid) {
  const std::string uid = std::to_string(id);
  const fs::path data = home / ".local/share/tarnwell";
  fs::create_directories(home);
  ChildProcess program;
  if (::chown(home.c_str(), id, id) != 0 ||
      !program.Start(
          "setpriv",
          {"--reuid=" + uid, "--regid=" + uid, "--groups=" + gid, "--", kFolder / "tarnwell"},
          {"TARNWELL_MESSAGE_LOG=" + (home / "m.log").string(),
           "TARNWELL_HOME=", "XDG_DATA_HOME=", "HOME=" + home.string()},
          home / "out")) {
    return "not started";
  }
  WaitUntil([&] { return fs::exists(data / "config.ini"); }, 60);
  program.Signal(SIGTERM);
  if (program.Wait(60) != 0) return "did not end well";
  return ReadFile(home / "m.log") + Owner(data) + ", " + Owner(data / "config.ini");
}

TEST(Package, InstallsOverAnOldSharedFolderAndKeepsEachOperatorsDataTheirOwn) {
  const group* dialout = ::getgrnam("dialout");
  if (!std::getenv("TARNWELL_PACKAGE_TEST") || ::geteuid() != 0 || !dialout ||
      ChildProcess::Run({"sh", "-c", "command -v dpkg-deb && command -v setpriv"}).exitCode) {
    GTEST_SKIP() << "needs ./test --package, root, the group dialout, dpkg and setpriv";
  }
  MachineLock lock;
  if (!PackageStatus().empty() || fs::exists(kFolder) || !SharedFolderKept().empty()) {
    GTEST_SKIP() << "tarnwell is installed or was; the test leaves it alone";
  }
  TempDir temp;
  fs::permissions(temp.Path(), fs::perms::others_exec, fs::perm_options::add);
  const auto cpack = ChildProcess::Run({TARNWELL_CPACK, "--config",
                                        std::string(TARNWELL_BUILD_DIR) + "/CPackConfig.cmake",
                                        "-B", temp / "package"});
  ASSERT_EQ(cpack.exitCode, 0) << cpack.output;
  fs::path deb;
  for (const auto& entry : fs::directory_iterator(temp / "package")) {
    if (entry.path().extension() == ".deb") deb = entry.path();
  }
  const std::string depends = ChildProcess::Run({"dpkg-deb", "-f", deb, "Depends"}).output;
  for (const char* runtime : {"libqt6widgets6", "qt6-qpa-plugins"}) {
    EXPECT_NE(depends.find(runtime), std::string::npos) << runtime << " in " << depends;
  }

  // What an earlier package left: a folder the group dialout may write, holding the operators'
  // records, a link planted in place of config.ini to a file of root's, and a planted plugin.
  lock.installing = true;
  fs::create_directories(kFolder / "Log");
  fs::create_directories(kFolder / "imageformats");
  ASSERT_EQ(::chown(kFolder.c_str(), 0, dialout->gr_gid) + ::chmod(kFolder.c_str(), 02775), 0);
  WriteFile(kFolder / "Log/20240131154502.txt", "1\t0\t31/01/24\t15:45:02\t120\r\n");
  WriteFile(temp / "root-only", "secret");
  fs::permissions(temp / "root-only", fs::perms::owner_read | fs::perms::owner_write);
  fs::create_symlink(temp / "root-only", kFolder / "config.ini");
  const auto install = Dpkg({"dpkg", "-i", deb});
  ASSERT_EQ(install.exitCode, 0) << install.output;
  // The old folder is kept whole under another name, nothing in it followed.
  const fs::path kept = SharedFolderKept();
  EXPECT_EQ(Owner(kept) + ", " + Owner(temp / "root-only"), "0:0 755, 0:0 600");
  EXPECT_TRUE(fs::is_symlink(kept / "config.ini") && fs::exists(kept / "imageformats") &&
              fs::exists(kept / "Log/20240131154502.txt"));
  // Everything installed is root's, and nothing group- or world-writable.
  std::istringstream installed(ChildProcess::Run({"dpkg", "-L", "tarnwell"}).output);
  for (std::string path; std::getline(installed, path);) {
    const std::string owner = Owner(path);
    EXPECT_TRUE(owner.starts_with("0:0 ") && (std::stoi(owner.substr(4), nullptr, 8) & 022) == 0)
        << path << " " << owner;
  }
  EXPECT_NE(ReadFile(kMenuEntry).find("\nExec=/opt/tarnwell/tarnwell\n"), std::string::npos);

  // Two operators who are only in dialout: each first start makes the operator's own folder and
  // renews config.ini there; the second does not find the first one's.
  for (const unsigned id : {65534u, 65533u}) {
    const fs::path home = temp / std::to_string(id);
    const std::string self = std::to_string(id) + ":" + std::to_string(id);
    EXPECT_EQ(RunAsOperator(home, id, std::to_string(dialout->gr_gid)),
              "Tarnwell\tCan not open " + (home / ".local/share/tarnwell/config.ini").string() +
                  " file. The configuration file renewed.\n" + self + " 700, " + self + " 644");
  }

  // Purging takes what the package installed and leaves the operators' data and the old folder.
  const auto purge = Dpkg({"dpkg", "--purge", "tarnwell"});
  EXPECT_EQ(purge.exitCode, 0) << purge.output;
  EXPECT_FALSE(fs::exists(kFolder) || fs::exists(kMenuEntry));
  EXPECT_EQ(PackageStatus(), "");
  EXPECT_TRUE(fs::exists(temp / "65534/.local/share/tarnwell/config.ini") && fs::exists(kept));
}

// The menu entry, its icons and the mark of a packaged program belong to the package only: a
// prefix keeps its data beside the program, and nothing is installed outside it.
TEST(InstallLayout, PrefixBecomesTheProgramFolder) {
  TempDir temp;
  const auto install =
      ChildProcess::Run({TARNWELL_CMAKE, "--install", TARNWELL_BUILD_DIR, "--prefix", temp / "T"});
  ASSERT_EQ(install.exitCode, 0) << install.output;
  std::set<std::string> found;
  for (const auto& entry : fs::recursive_directory_iterator(temp / "T")) {
    const std::string name = entry.path().filename(), source = TARNWELL_SOURCE_DIR "/data/" + name;
    found.insert(name + " " + Owner(entry.path()).substr(4));
    if (name.ends_with(".lng")) EXPECT_EQ(ReadFile(entry.path()), ReadFile(source)) << name;
  }
  EXPECT_EQ(found, (std::set<std::string>{"bg.lng 644", "en.lng 644", "fr.lng 644", "gr.lng 644",
                                          "ru.lng 644", "sp.lng 644", "std.lng 644", "tarnwell 755",
                                          "tarnwell.png 644", "tarnwell.svg 644", "tr.lng 644"}));
  std::istringstream manifest(ReadFile(fs::path(TARNWELL_BUILD_DIR) / "install_manifest.txt"));
  for (std::string line; std::getline(manifest, line);) {
    EXPECT_TRUE(line.starts_with(temp / "T/")) << "installed outside the prefix: " << line;
  }
}

}  // namespace
}  // namespace tarnwell::testing
