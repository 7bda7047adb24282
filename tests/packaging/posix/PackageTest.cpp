// SPDX-License-Identifier: GPL-3.0-or-later
// A prefix install, and the Debian package installed, used and purged on this machine: only with
// ./test --package (TARNWELL_PACKAGE_TEST), as root, and never over an existing installation.
#include <gtest/gtest.h>
#include <sys/file.h>
#include <unistd.h>

#include "posix/ChildProcess.h"

namespace tarnwell::testing {
namespace {

// What `script` prints, run by sh with the umask 022 and $T naming the folder `temp`.
std::string Sh(const std::string& script, const std::string& temp = "") {
  return ChildProcess::Run({"sh", "-c", "umask 022; " + script}, {"T=" + temp}).output;
}

// The README's step, for an operator who takes the old shared config.ini into their own folder
// ($old: the folder the installation named).
const std::string kCopyStep =
    "mkdir -p ~/.local/share/tarnwell && if [ -f \"$old/config.ini\" ] && [ ! -L"
    " \"$old/config.ini\" ]; then cp \"$old/config.ini\" ~/.local/share/tarnwell/; fi";

// dpkg refuses at once while apt or another dpkg holds its lock; that is waited out.
ChildProcess::Result Dpkg(const std::vector<std::string>& argv) {
  ChildProcess::Result r;
  WaitUntil([&] { return (r = ChildProcess::Run(argv)).output.find("lock") == r.output.npos; }, 60);
  return r;
}

// The package's state and the folders it makes or moves; empty when there are none.
std::string Installed() {
  return Sh(
      "dpkg-query -W -f='${db:Status-Status}' tarnwell 2>/dev/null | grep -v not-installed;"
      "ls -d /opt/tarnwell /opt/tarnwell-shared-* 2>/dev/null");
}

// One build at a time; whatever fails, the machine is left without what the test installed.
struct MachineLock {
  MachineLock() { ::flock(fd, LOCK_EX); }
  ~MachineLock() {
    if (installing && !Installed().empty()) Dpkg({"dpkg", "--purge", "tarnwell"});
    if (installing) Sh("rm -rf /opt/tarnwell /opt/tarnwell-shared-*");
    ::close(fd);
  }
  const int fd = ::open("/tmp/tarnwell-package-test.lock", O_RDWR | O_CREAT | O_CLOEXEC, 0600);
  bool installing = false;
};

TEST(Package, InstallsOverAnOldSharedFolderAndKeepsEachOperatorsDataTheirOwn) {
  if (!std::getenv("TARNWELL_PACKAGE_TEST") || ::geteuid() != 0 ||
      !Sh("getent group dialout && command -v dpkg-deb && command -v setpriv || echo no")
           .ends_with("setpriv\n")) {
    GTEST_SKIP() << "needs ./test --package, root, the group dialout, dpkg and setpriv";
  }
  MachineLock lock;
  if (!Installed().empty())
    GTEST_SKIP() << "tarnwell is installed or was; the test leaves it alone";
  TempDir temp;
  const std::string t = temp.Path();
  std::filesystem::permissions(t, std::filesystem::perms::others_exec,
                               std::filesystem::perm_options::add);
  const auto cpack = ChildProcess::Run(
      {TARNWELL_CPACK, "--config", TARNWELL_BUILD_DIR "/CPackConfig.cmake", "-B", t});
  ASSERT_EQ(cpack.exitCode, 0) << cpack.output;
  const std::string deb = Sh("printf %s $T/*.deb", t);
  EXPECT_EQ(
      Sh("dpkg-deb -f " + deb + " Depends | grep -o 'libqt6widgets6\\|qpa\\|fonts-[a-z2]*' | sort"),
      "fonts-liberation2\nfonts-wine\nlibqt6widgets6\nqpa\n");

  // An earlier package's folder whose own entries are root's, but deeper down a record folder
  // that dialout may write and an operator's plugin (set-user-ID); a planted link to root's file.
  lock.installing = true;
  Sh("cd /opt && mkdir -p tarnwell/Log/2024 tarnwell/imageformats && echo 1 >tarnwell/Log/1.txt &&"
     " echo secret >$T/root-only && chmod 600 $T/root-only && ln -s $T/root-only"
     " tarnwell/config.ini && chgrp dialout tarnwell/Log/2024 && chmod 2775 tarnwell/Log/2024 &&"
     " echo 2 >tarnwell/Log/2024/2.txt && chown 65534:dialout tarnwell/Log/2024/2.txt &&"
     " chmod 664 tarnwell/Log/2024/2.txt && echo plugin >tarnwell/imageformats/libqevil.so &&"
     " chown 65534 tarnwell/imageformats/libqevil.so && chmod 4755"
     " tarnwell/imageformats/libqevil.so",
     t);
  const auto install = Dpkg({"dpkg", "-i", deb});
  ASSERT_EQ(install.exitCode, 0) << install.output;
  // The old folder kept whole, root's alone inside, its groups kept, nothing in it followed; all
  // installed root's; the menu entry.
  EXPECT_EQ(Sh("cd /opt/tarnwell-shared-* && find . | LC_ALL=C sort | xargs stat -c '%U:%G %a %n'"
               " && stat -c '%U:%G %a %n' $T/root-only | sed s@$T/@@; dpkg -L tarnwell | xargs"
               " stat -c '%u:%g %A %n' | grep -v '^0:0 .....-..-'; grep -x"
               " Exec=/opt/tarnwell/tarnwell /usr/share/applications/tarnwell.desktop",
               t),
            "root:root 755 .\nroot:root 755 ./Log\nroot:root 644 ./Log/1.txt\n"
            "root:dialout 755 ./Log/2024\nroot:dialout 644 ./Log/2024/2.txt\n"
            "root:root 777 ./config.ini\nroot:root 755 ./imageformats\n"
            "root:root 755 ./imageformats/libqevil.so\nroot:root 600 root-only\n"
            "Exec=/opt/tarnwell/tarnwell\n");
  // The README's step that takes the old config.ini along, as an operator: a link is not
  // copied, a plain file is.
  const std::string copy =
      "mkdir -m 700 $T/copy && chown 65534 $T/copy && HOME=$T/copy setpriv --reuid=65534"
      " --regid=65534 --clear-groups -- sh -c 'old=$(ls -d /opt/tarnwell-shared-*) && " +
      kCopyStep + "'; ls $T/copy/.local/share/tarnwell; rm -r $T/copy";
  EXPECT_EQ(
      Sh(copy + "; cd /opt/tarnwell-shared-* && rm config.ini && echo old >config.ini && " + copy,
         t),
      "config.ini\n");

  // Two operators only in dialout: each first start renews config.ini in their own folder.
  std::string operators;
  for (const std::string id : {"65534", "65533"}) {
    operators += "0\nTarnwell\tCan not open " + t + "/" + id +
                 "/.local/share/tarnwell/config.ini file. The configuration file renewed.\n" + id +
                 ":" + id + " 700 .\n" + id + ":" + id + " 600 config.ini\n";
  }
  EXPECT_EQ(Sh("for id in 65534 65533; do mkdir $T/$id && chown $id $T/$id && cd $T/$id || exit;"
               " HOME=$PWD TARNWELL_HOME= XDG_DATA_HOME= TARNWELL_MESSAGE_LOG=m.log setpriv"
               " --reuid=$id --regid=$id --groups=dialout -- /opt/tarnwell/tarnwell >out 2>&1 &"
               " timeout 60 sh -c 'until [ -e .local/share/tarnwell/config.ini ]; do sleep 0.1;"
               " done'; kill $!; wait $!; echo $?; head -n 1 m.log; cd .local/share/tarnwell &&"
               " stat -c '%u:%g %a %n' . config.ini; done",
               t),
            operators);

  // Purging takes what the package installed and leaves the operators' data and the old folder.
  const auto purge = Dpkg({"dpkg", "--purge", "tarnwell"});
  EXPECT_EQ(purge.exitCode, 0) << purge.output;
  EXPECT_EQ(
      Installed() + Sh("ls -d /usr/share/applications/tarnwell.desktop $T/*/.local/share/"
                       "tarnwell/config.ini 2>/dev/null | sed s@$T/@@",
                       t),
      "/opt/tarnwell-shared-" + Sh("cd /opt/tarnwell-shared-* && printf %s ${PWD#*shared-}") +
          "\n65533/.local/share/tarnwell/config.ini\n65534/.local/share/tarnwell/config.ini\n");
}

// A prefix keeps data and languages beside the program; nothing goes outside it.
TEST(InstallLayout, PrefixBecomesTheProgramFolder) {
  TempDir temp;
  const auto install =
      ChildProcess::Run({TARNWELL_CMAKE, "--install", TARNWELL_BUILD_DIR, "--prefix", temp / "P"});
  ASSERT_EQ(install.exitCode, 0) << install.output;
  EXPECT_EQ(Sh("cd $T/P && stat -c '%a %n' *; for f in *.lng; do cmp -s $f " TARNWELL_SOURCE_DIR
               "/data/$f || echo $f differs; done; grep -v ^$T/P/ " TARNWELL_BUILD_DIR
               "/install_manifest.txt",
               temp.Path()),
            "644 bg.lng\n644 en.lng\n644 fr.lng\n644 gr.lng\n644 ru.lng\n644 sp.lng\n644 std.lng\n"
            "755 tarnwell\n644 tarnwell.png\n644 tarnwell.svg\n644 tr.lng\n");
}

}  // namespace
}  // namespace tarnwell::testing
