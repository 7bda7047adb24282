// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>
#include <unistd.h>

#include "platform/posix/FolderTrust.h"
#include "posix/ChildProcess.h"

namespace tarnwell::testing {
namespace {

namespace fs = std::filesystem;

// Folders and links made by each row's plan in $D as root, judged for nobody (65534) in the
// groups nogroup, users and dialout; 65533 is a user without a name. "" where it is trusted.
TEST(FolderTrust, AFolderOthersCanChangeOrReachIsNamedWithWhatIsWrong) {
  if (::geteuid() != 0) GTEST_SKIP() << "only root can make folders that belong to other users";
  const std::tuple<const char*, const char*, const char*> rows[] = {
      {"mkdir f && chown 65534 f && ln -s f l", "l/", ""},
      {":", "f/g", ""},
      {"mkdir f && chown 65533 f", "f", "f belongs to the user 65533"},
      {"mkdir -m 777 f && chown 65534 f", "f", "f can be changed by other users"},
      {"mkdir -m 770 f && chown 65534:users f", "f", "f can be changed by the group users"},
      {"mkdir -m 2775 f && chown 65533:users f", "f", ""},
      {"mkdir -m 2777 f && chgrp users f", "f", "f can be changed by other users"},
      {"mkdir -m 2770 f && chgrp staff f", "f", "f can be changed by the group staff"},
      {"mkdir -m 2770 f && chgrp dialout f", "f", "f can be changed by the group dialout"},
      {"mkdir f && ln -s f l && chown -h 65533 l", "l",
       "l is a link that belongs to the user 65533"},
      {"mkdir -m 1777 up && mkdir up/f && chown 65534 up/f", "up/f", ""},
      {"mkdir -m 777 up && mkdir up/f", "up/f", "up can be changed by other users"},
      {"mkdir -p a/b && chown 65533 a && ln -s a/b/../.. l", "l/f", "a belongs to the user 65533"},
      {"mkdir -m 1777 f", "f", "f can be changed by other users"},
      {"ln -s l l", "l", "l leads through too many links"},
      {"touch f", "f", "f is not a folder"},
  };
  const FolderTrust nobody(65534, {65534, 100, 20});
  for (const auto& [plan, judged, problem] : rows) {
    TempDir temp;
    ChildProcess::Run({"sh", "-c", std::string("cd $D && ") + plan}, {"D=" + temp.Path()});
    EXPECT_EQ(nobody.Problem(temp / judged).value_or(""), *problem ? temp / problem : "") << plan;
  }
  // Only the user's own folder loses what the group and others may do, and not through a link.
  const std::tuple<const char*, const char*, bool, fs::perms> tightened[] = {
      {"mkdir -m 2775 f && chown 65534 f", "f", true, fs::perms::owner_all | fs::perms::set_gid},
      {"mkdir -m 700 f && chown 65534 f", "f", true, fs::perms::owner_all},
      {"mkdir -m 755 f && chown 65533 f", "f", false, fs::perms(0755)},
      {"mkdir -m 755 f && chown 65534 f && ln -s f l", "l", false, fs::perms(0755)},
  };
  for (const auto& [plan, folder, done, mode] : tightened) {
    TempDir temp;
    ChildProcess::Run({"sh", "-c", std::string("cd $D && ") + plan}, {"D=" + temp.Path()});
    EXPECT_EQ(nobody.Tighten(temp / folder), done) << plan;
    EXPECT_EQ(fs::status(temp / "f").permissions(), mode) << plan;
  }
}

}  // namespace
}  // namespace tarnwell::testing
