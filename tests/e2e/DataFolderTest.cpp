// SPDX-License-Identifier: GPL-3.0-or-later
// The real program on data folders other users could reach, and the rights of what it makes.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include "ChildProcess.h"

namespace tarnwell::testing {
namespace {

namespace fs = std::filesystem;

std::string Mode(const std::string& path) {
  struct stat st {};
  char text[8];
  std::snprintf(text, sizeof text, "%o", ::lstat(path.c_str(), &st) == 0 ? st.st_mode & 07777 : 0);
  return text;
}

class DataFolderTest : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!fs::exists(bin_ + "/tarnwell")) GTEST_SKIP();
    fs::permissions(dir_.Path(), fs::perms::others_exec, fs::perm_options::add);
    // The program as its package installs it, with the standard language file.
    fs::create_directories(dir_ / "opt");
    for (const char* file : {"tarnwell", "std.lng"})
      fs::copy_file(bin_ + "/" + file, dir_ / "opt/" + file);
    WriteFile(dir_ / "opt/per-user-data", "");
  }
  // Runs `program` with `env` (and messages to m.log in `home`), as nobody in the groups users
  // and dialout when `asNobody`; until it ends, or until `ready` holds and it is stopped.
  std::pair<int, std::string> Run(const std::string& program, const std::string& home,
                                  std::vector<std::string> env, bool asNobody,
                                  const std::function<bool()>& ready = {}) {
    env.insert(env.end(), {"HOME=" + home, "TARNWELL_MESSAGE_LOG=" + home + "/m.log", "LC_ALL=C"});
    fs::remove(home + "/m.log");
    std::vector<std::string> args;
    if (asNobody)
      args = {"--reuid=65534", "--regid=65534", "--groups=users,dialout", "--", program};
    ChildProcess child;
    EXPECT_TRUE(child.Start(asNobody ? "setpriv" : program, args, env, dir_ / "out"));
    if (ready) {
      EXPECT_TRUE(WaitUntil([&] { return ready() && child.Catches(SIGTERM); }, 30));
      child.Signal(SIGTERM);
    }
    return {child.Wait(60).value_or(-1), ReadFile(home + "/m.log")};
  }

  const std::string bin_ = std::getenv("TARNWELL_BIN");
  TempDir dir_;
};

// Another user's folder in the shared temporary folder (open to all, with settings, a port link
// and a lock of theirs), a link of theirs where the per-user folder should be, or a folder of
// dialout: refused with what is wrong, before anything there is touched. A group folder of the
// user's is taken.
TEST_F(DataFolderTest, AFolderAnotherUserCanChangeIsRefusedAGroupFolderTaken) {
  if (::geteuid() != 0) GTEST_SKIP() << "only root can act as other users";
  const std::string d = dir_.Path();
  ASSERT_EQ(ChildProcess::Run(
                {"sh", "-c",
                 "cd $D && mkdir -m 777 planted planted/ports && printf x >planted/config.ini &&"
                 " ln -s /dev/ptmx planted/ports/COM1 && : >planted/.lock &&"
                 " chown -R -h 65533:65533 planted && mkdir -m 755 nobody xdg && ln -s $D/planted"
                 " xdg/tarnwell && chown -h 65533 xdg/tarnwell && chown 65534 nobody xdg &&"
                 " mkdir -m 2770 group dialout && chgrp users group && chgrp dialout dialout"},
                {"D=" + d})
                .exitCode,
            0);
  const std::string home = d + "/nobody";
  const std::string ends = ". This start ends without opening the port or recording.\n";
  const auto refused = [&](const std::string& folder, const std::string& problem) {
    return std::pair(
        1, "Tarnwell\tThe data folder " + folder + " cannot be trusted: " + problem + ends);
  };
  EXPECT_EQ(Run(bin_ + "/tarnwell", home, {"TARNWELL_HOME=" + d + "/planted"}, true),
            refused(d + "/planted", d + "/planted belongs to the user 65533"));
  EXPECT_EQ(
      Run(d + "/opt/tarnwell", home, {"TARNWELL_HOME=", "XDG_DATA_HOME=" + d + "/xdg"}, true),
      refused(d + "/xdg/tarnwell", d + "/xdg/tarnwell is a link that belongs to the user 65533"));
  EXPECT_EQ(Run(bin_ + "/tarnwell", home, {"TARNWELL_HOME=" + d + "/dialout"}, true),
            refused(d + "/dialout", d + "/dialout can be changed by the group dialout"));
  EXPECT_EQ(ChildProcess::Run({"sh", "-c", "cd $D/planted && ls -A | tr '\\n' ' '; cat config.ini"},
                              {"D=" + d})
                .output,
            ".lock config.ini ports x");
  // The group folder: renewed there, for the group.
  const auto taken = Run(bin_ + "/tarnwell", home, {"TARNWELL_HOME=" + d + "/group"}, true,
                         [&] { return fs::exists(d + "/group/config.ini"); });
  EXPECT_EQ(taken.first, 0) << taken.second;
  EXPECT_EQ(
      fs::exists(d + "/group/.lock") &&
          ChildProcess::Run({"stat", "-c", "%G", d + "/group/config.ini"}).output == "users\n",
      true);
}

// Under the umask 000, what the packaged program makes in the user's own folder is the user's
// alone, and an existing folder open to others is closed again.
TEST_F(DataFolderTest, APackagedProgramsOwnFolderIsTheUsersAloneWhateverTheUmask) {
  const std::string home = dir_ / "home", data = home + "/.local/share/tarnwell";
  const mode_t umask = ::umask(0);
  const std::vector<std::string> env{"TARNWELL_HOME=", "XDG_DATA_HOME="};
  const auto first = Run(dir_ / "opt/tarnwell", home, env, false,
                         [&] { return fs::exists(data + "/config.ini"); });
  EXPECT_EQ(first.first, 0) << first.second;
  std::string modes;
  for (const char* path : {"/.local", "/.local/share", "/.local/share/tarnwell",
                           "/.local/share/tarnwell/config.ini", "/.local/share/tarnwell/.lock"})
    modes += Mode(home + path) + " ";
  // Recording from the start, without a port; the folder opened to all meanwhile.
  WriteFile(data + "/config.ini", ConfigIniText({{6, "0"}, {15, "1"}, {19, "255"}, {32, "1"}}));
  ::chmod(data.c_str(), 0755);
  const auto second = Run(dir_ / "opt/tarnwell", home, env, false, [&] {
    return fs::exists(data + "/Log") && !fs::is_empty(data + "/Log");
  });
  ::umask(umask);
  EXPECT_EQ(second.first, 0) << second.second;
  modes += "| " + Mode(data) + " " + Mode(data + "/config.ini") + " " + Mode(data + "/Log");
  for (const auto& record : fs::directory_iterator(data + "/Log"))
    modes += " " + Mode(record.path());
  EXPECT_EQ(modes, "700 700 700 600 600 | 700 600 700 600");
}

}  // namespace
}  // namespace tarnwell::testing
