// SPDX-License-Identifier: GPL-3.0-or-later
// The real program on data folders other users could reach, and the rights of what it makes.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include "posix/ChildProcess.h"

namespace tarnwell::testing {
namespace {

namespace fs = std::filesystem;

// The build's program, and a copy as the package installs it ($D/opt, with the standard language
// file); its messages go to m.log in the home folder given.
class DataFolderTest : public ::testing::Test {
 protected:
  void SetUp() override {
    fs::permissions(d_, fs::perms::others_exec, fs::perm_options::add);
    Sh("mkdir opt && cp $B/tarnwell $B/std.lng opt/ && : >opt/per-user-data");
  }
  std::string Sh(const std::string& script) {
    return ChildProcess::Run({"sh", "-c", "cd $D && " + script}, {"D=" + d_, "B=" + bin_}).output;
  }
  // Runs `program` as nobody in the groups users and dialout (`asNobody`) or as the test, until
  // it ends, or until `ready` holds and it is asked to end: the exit code and the messages.
  std::pair<int, std::string> Run(const std::string& program, std::vector<std::string> env,
                                  bool asNobody, const std::function<bool()>& ready = {}) {
    const std::string home = asNobody ? d_ + "/nobody" : d_ + "/home";
    env.insert(env.end(), {"HOME=" + home, "TARNWELL_MESSAGE_LOG=" + home + "/m.log"});
    fs::remove(home + "/m.log");
    ChildProcess child;
    EXPECT_TRUE(asNobody ? child.Start("setpriv",
                                       {"--reuid=65534", "--regid=65534", "--groups=users,dialout",
                                        "--", program},
                                       env, d_ + "/out")
                         : child.Start(program, {}, env, d_ + "/out"));
    if (ready && WaitUntil([&] { return ready() && child.Catches(SIGTERM); }, 30))
      child.Signal(SIGTERM);
    return {child.Wait(60).value_or(-1), ReadFile(home + "/m.log")};
  }
  const std::string bin_ = std::getenv("TARNWELL_BIN");
  const TempDir dir_;
  const std::string& d_ = dir_.Path();
};

// Another user's folder in the shared temporary folder (open to all, with settings, a port link
// and a lock of theirs), their link where the per-user folder should be, or a folder of dialout:
// refused with what is wrong, nothing there touched. A group folder of the user's is taken.
TEST_F(DataFolderTest, AFolderAnotherUserCanChangeIsRefusedAGroupFolderTaken) {
  if (::geteuid() != 0) GTEST_SKIP() << "only root can act as other users";
  Sh("mkdir -m 777 planted planted/ports && printf x >planted/config.ini && : >planted/.lock &&"
     " ln -s /dev/ptmx planted/ports/COM1 && chown -R -h 65533 planted && mkdir nobody xdg &&"
     " ln -s $D/planted xdg/tarnwell && chown -h 65533 xdg/tarnwell && chown 65534 nobody xdg &&"
     " mkdir -m 2770 group dialout && chgrp users group && chgrp dialout dialout");
  const auto refused = [&](const std::string& folder, const std::string& problem) {
    return std::pair(1, "Tarnwell\tThe data folder " + d_ + folder + " cannot be trusted: " + d_ +
                            problem + ". This start ends without opening the port or recording.\n");
  };
  EXPECT_EQ(Run(bin_ + "/tarnwell", {"TARNWELL_HOME=" + d_ + "/planted"}, true),
            refused("/planted", "/planted belongs to the user 65533"));
  EXPECT_EQ(Run(d_ + "/opt/tarnwell", {"TARNWELL_HOME=", "XDG_DATA_HOME=" + d_ + "/xdg"}, true),
            refused("/xdg/tarnwell", "/xdg/tarnwell is a link that belongs to the user 65533"));
  EXPECT_EQ(Run(bin_ + "/tarnwell", {"TARNWELL_HOME=" + d_ + "/dialout"}, true),
            refused("/dialout", "/dialout can be changed by the group dialout"));
  EXPECT_EQ(Sh("cd planted && ls -A | tr '\\n' ' ' && cat config.ini"), ".lock config.ini ports x");
  // In the group folder the settings are renewed, and belong to the group.
  EXPECT_EQ(Run(bin_ + "/tarnwell", {"TARNWELL_HOME=" + d_ + "/group"}, true,
                [&] { return fs::exists(d_ + "/group/config.ini"); })
                .first,
            0);
  EXPECT_EQ(Sh("stat -c %G group/config.ini group/.lock"), "users\nusers\n");
}

// Under the umask 000, what the packaged program makes in the user's own folder is the user's
// alone, and the folder opened to others meanwhile is closed again.
TEST_F(DataFolderTest, APackagedProgramsOwnFolderIsTheUsersAloneWhateverTheUmask) {
  const std::string data = d_ + "/home/.local/share/tarnwell";
  const mode_t umask = ::umask(0);
  const std::vector<std::string> env{"TARNWELL_HOME=", "XDG_DATA_HOME="};
  EXPECT_EQ(
      Run(d_ + "/opt/tarnwell", env, false, [&] { return fs::exists(data + "/.lock"); }).first, 0);
  // Recording from the start, without a port.
  WriteFile(data + "/config.ini",
            ConfigIniText(ConfigOf("CommPort=0;LogEnable=1;Language=255;RecordOnStartup=1")));
  ::chmod(data.c_str(), 0755);
  EXPECT_EQ(Run(d_ + "/opt/tarnwell", env, false,
                [&] { return fs::exists(data + "/Log") && !fs::is_empty(data + "/Log"); })
                .first,
            0);
  ::umask(umask);
  EXPECT_EQ(Sh("cd home/.local/share/tarnwell && stat -c %a ../.. .. . Log config.ini .lock Log/*"),
            "700\n700\n700\n700\n600\n600\n600\n");
}

}  // namespace
}  // namespace tarnwell::testing
