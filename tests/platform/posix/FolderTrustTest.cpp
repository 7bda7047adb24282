// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include "ChildProcess.h"
#include "platform/posix/FolderTrust.h"

namespace tarnwell::testing {
namespace {

// Folders and links owned by other users, made by each row's plan in $D as root, judged for
// nobody (65534) in the groups nogroup, users and dialout; 65533 is a user without a name.
TEST(FolderTrust, AFolderOthersCanChangeOrReachIsNamedWithWhatIsWrong) {
  if (::geteuid() != 0) GTEST_SKIP() << "only root can make folders that belong to other users";
  const std::tuple<std::string, std::string, std::string> rows[] = {
      {"mkdir f && chown 65534 f", "f", ""},
      {"mkdir f && chown 65534 f && ln -s f l", "l/", ""},
      {"", "f/g", ""},
      {"mkdir f && chown 65533 f", "f", "$D/f belongs to the user 65533"},
      {"mkdir -m 777 f && chown 65534 f", "f", "$D/f can be changed by other users"},
      {"mkdir -m 770 f && chown 65534:users f", "f", "$D/f can be changed by the group users"},
      // A group folder: set-group-ID, for a group of the user's that is not dialout.
      {"mkdir -m 2770 f && chgrp users f", "f", ""},
      {"mkdir -m 2775 f && chown 65533:users f", "f/", ""},
      {"mkdir -m 2777 f && chgrp users f", "f", "$D/f can be changed by other users"},
      {"mkdir -m 2770 f && chgrp staff f", "f", "$D/f can be changed by the group staff"},
      {"mkdir -m 2770 f && chgrp dialout f", "f", "$D/f can be changed by the group dialout"},
      // Links and folders on the way.
      {"mkdir f && chown 65534 f && ln -s f l && chown -h 65533 l", "l",
       "$D/l is a link that belongs to the user 65533"},
      {"mkdir -m 1777 up && mkdir up/f && chown 65534 up/f", "up/f", ""},
      {"mkdir -m 777 up && mkdir up/f && chown 65534 up/f", "up/f",
       "$D/up can be changed by other users"},
      {"mkdir -m 777 o && chown 65533 o && ln -s o/f l", "l", "$D/o belongs to the user 65533"},
      {"mkdir -p a/b && chown -R 65533 a && ln -s a/b/../.. l", "l/f",
       "$D/a belongs to the user 65533"},
      {"ln -s l l", "l", "$D/l leads through too many links"},
      {"touch f", "f", "$D/f is not a folder"},
  };
  const FolderTrust nobody(65534, {65534, 100, 20});
  for (const auto& [plan, judged, problem] : rows) {
    TempDir temp;
    ChildProcess::Run({"sh", "-c", "cd $D && " + (plan.empty() ? ":" : plan)},
                      {"D=" + temp.Path()});
    std::string expected = problem;
    if (const auto at = expected.find("$D"); at != std::string::npos)
      expected.replace(at, 2, temp.Path());
    EXPECT_EQ(nobody.Problem(temp / judged).value_or(""), expected) << plan;
  }
}

// Tightened are only the user's own folders, never through a link.
TEST(FolderTrust, OnlyTheUsersOwnFolderIsTightened) {
  TempDir temp;
  for (const char* name : {"own", "other", "real"}) ::mkdir((temp / name).c_str(), 0755);
  ::symlink((temp / "real").c_str(), (temp / "link").c_str());
  const bool root = ::geteuid() == 0;
  if (root) {
    EXPECT_EQ(::chown((temp / "other").c_str(), 65533, 65533), 0);
  }
  const FolderTrust me;
  for (const char* name : {"own", "other", "link"}) me.Tighten(temp / name);
  struct stat st {};
  const auto mode = [&](const char* name) {
    return ::stat((temp / name).c_str(), &st) == 0 ? st.st_mode & 07777 : 0;
  };
  EXPECT_EQ(std::vector({mode("own"), mode("real")}), std::vector<mode_t>({0700, 0755}));
  if (root) {
    EXPECT_EQ(mode("other"), 0755u);
  }
}

}  // namespace
}  // namespace tarnwell::testing
