// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>
#include <windows.h>
// After windows.h, which they build on.
#include <aclapi.h>
#include <sddl.h>
#include <shlobj.h>

#include "TestFiles.h"
#include "Win32TestSupport.h"
#include "platform/win32/Utf16.h"
#include "platform/win32/Win32FileSystem.h"
#include "platform/win32/Win32FolderLock.h"
#include "platform/win32/Win32ProcessStarter.h"

namespace tarnwell::testing {
namespace {

std::string Helper() { return OwnFolder() + "\\win32_test_helper.exe"; }

// Another program holds the folder until it is killed; then the system lets go of its lock.
TEST(Win32FolderLock, AFolderHeldByAnotherProcessIsRefusedUntilThatOneEnds) {
  TempFolder temp;
  const std::string ready = temp / "ready";
  Child holder(Helper(), {"hold-lock", temp.Path(), ready});
  ASSERT_TRUE(WaitUntil([&] { return ReadBytes(ready).has_value(); }, 120));
  EXPECT_EQ(ReadBytes(ready), "held");
  EXPECT_FALSE(Win32FolderLock(temp.Path()).Held());
  holder.Kill();
  EXPECT_TRUE(Win32FolderLock(temp.Path()).Held());
}

// Wherever the writer is killed, config.ini is the old file or the new one, whole.
TEST(Win32FileSystem, AWriterKilledOnTheWayLeavesAWholeFile) {
  TempFolder temp;
  const std::string ini = temp / "config.ini";
  Win32FileSystem files(temp.Path());
  ASSERT_TRUE(files.WriteWhole(ini, "old"));
  for (int round = 0; round < 3; ++round) {
    ::DeleteFileW(Widen(ini + ".new").c_str());
    Child writer(Helper(), {"write-whole", ini});
    ASSERT_TRUE(WaitUntil([&] { return ReadBytes(ini + ".new").has_value(); }, 120));
    writer.Kill();
    const std::string left = ReadBytes(ini).value_or("-");
    EXPECT_TRUE(left == "old" || left == std::string(8 << 20, 'n')) << left.size();
  }
  ASSERT_TRUE(files.WriteWhole(ini, "after"));
  EXPECT_EQ(Listing(temp.Path()), " config.ini=after");
}

// "user" when this user has every right to the folder, then each other one granted anything but
// the system and the administrators.
std::string AccessOf(const std::string& folder) {
  PSECURITY_DESCRIPTOR descriptor = nullptr;
  wchar_t *text = nullptr, *user = nullptr;
  alignas(TOKEN_USER) unsigned char token[256];
  DWORD n = 0;
  HANDLE process = nullptr;
  ::OpenProcessToken(::GetCurrentProcess(), TOKEN_QUERY, &process);
  ::GetTokenInformation(process, TokenUser, token, sizeof token, &n);
  ::CloseHandle(process);
  if (::GetNamedSecurityInfoW(Widen(folder).c_str(), SE_FILE_OBJECT, DACL_SECURITY_INFORMATION,
                              nullptr, nullptr, nullptr, nullptr, &descriptor) != ERROR_SUCCESS ||
      !::ConvertSecurityDescriptorToStringSecurityDescriptorW(
          descriptor, SDDL_REVISION_1, DACL_SECURITY_INFORMATION, &text, nullptr) ||
      !::ConvertSidToStringSidW(reinterpret_cast<TOKEN_USER*>(token)->User.Sid, &user)) {
    return "unreadable";
  }
  // Each grant reads "(A;inheritance;rights;;;who)".
  std::string out, userRights;
  for (const std::string& grant : Split(Narrow(text), ")")) {
    const auto fields = Split(grant.substr(grant.find('(') + 1), ";");
    if (fields.size() != 6 || fields[0] != "A") continue;
    if (fields[5] == Narrow(user)) {
      userRights = fields[2];
    } else if (fields[5] != "SY" && fields[5] != "BA") {
      out += " " + fields[5];
    }
  }
  ::LocalFree(user), ::LocalFree(text), ::LocalFree(descriptor);
  return (userRights == "FA" ? "user" : "not the user") + out;
}

// Where the data lives: TARNWELL_HOME, else the user's own folder for an installed program (the
// marker beside it), else the program's folder; the program folder is always the executable's.
TEST(Win32FileSystem, TheDataFolderIsHomeOrTheUsersOwnOrTheProgramFolder) {
  TempFolder temp;
  const std::string program = temp / "Program Ünï", home = temp / "Dätä Home";
  ASSERT_TRUE(MakeFolder(program) && MakeFolder(home));
  ASSERT_TRUE(
      ::CopyFileW(Widen(Helper()).c_str(), Widen(program + "\\tarnwell.exe").c_str(), TRUE));
  PWSTR local = nullptr;
  ASSERT_EQ(::SHGetKnownFolderPath(FOLDERID_LocalAppData, 0, nullptr, &local), S_OK);
  const std::string own = Narrow(local) + "\\Tarnwell";
  ::CoTaskMemFree(local);
  // Made afresh where no earlier run left anything in it.
  ::RemoveDirectoryW(Widen(own).c_str());
  const std::tuple<bool, std::string, std::string> rows[] = {
      {false, "", program},
      {false, home + "\\\\", home},
      {true, "", own},
      {true, home, home},
  };
  for (const auto& [marked, tarnwellHome, data] : rows) {
    if (marked) WriteBytes(program + "\\per-user-data", "");
    const std::string out = temp / "folders.txt";
    Child child(program + "\\tarnwell.exe", {"folders", out}, {{"TARNWELL_HOME", tarnwellHome}});
    ASSERT_EQ(child.Wait(120), 0u);
    EXPECT_EQ(ReadBytes(out), program + "\n" + data + "\n") << marked << " " << tarnwellHome;
    ::DeleteFileW(Widen(program + "\\per-user-data").c_str());
  }
  const DWORD attributes = ::GetFileAttributesW(Widen(own).c_str());
  EXPECT_TRUE(attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY));
  EXPECT_EQ(AccessOf(own), "user");
}

// Each argument arrives as it was given, whatever blanks, quotes, backslashes or letters it
// holds, also for a program in a folder with a blank in its name.
TEST(Win32ProcessStarter, ArgumentsArriveAsTheyWereGiven) {
  TempFolder temp;
  const std::string program = temp / "a b\\helper.exe", out = temp / "arguments.txt";
  ASSERT_TRUE(MakeFolder(temp / "a b"));
  ASSERT_TRUE(::CopyFileW(Widen(Helper()).c_str(), Widen(program).c_str(), TRUE));
  const std::vector<std::string> given = {
      "",       "plain",     "two words", "quote\"inside",     "end\\", "C:\\a b\\",
      "\\\\\"", "tab\there", "Ölçü Тест", "\\\\server\\share", "\"",    "a\\\\b c"};
  std::vector<std::string> arguments = {"arguments", out};
  arguments.insert(arguments.end(), given.begin(), given.end());
  Win32ProcessStarter starter;
  ASSERT_TRUE(starter.StartDetached(program, arguments));
  ASSERT_TRUE(WaitUntil([&] { return ReadBytes(out).has_value(); }, 120));
  std::string expected;
  for (const std::string& a : given) expected += a + "\n";
  EXPECT_TRUE(WaitUntil([&] { return ReadBytes(out) == expected; }, 30)) << *ReadBytes(out);
  EXPECT_FALSE(starter.StartDetached(temp / "missing.exe", {}));
  EXPECT_FALSE(starter.StartDetached("no-such-program-anywhere", {}));
}

// The file browser opens the folder, named as it is, blanks, commas and letters included.
TEST(Win32ProcessStarter, OpenFolderShowsTheFolderInTheFileBrowser) {
  TempFolder temp;
  const std::string name = "Log, Kayıt Ölçü";
  ASSERT_TRUE(MakeFolder(temp / name));
  ASSERT_TRUE(Win32ProcessStarter().OpenFolder(temp / name));
  const std::wstring title = Widen(name);
  HWND shown = nullptr;
  ASSERT_TRUE(WaitUntil(
      [&] {
        for (shown = nullptr; (shown = ::FindWindowExW(nullptr, shown, nullptr, title.c_str()));)
          if (::IsWindowVisible(shown)) return true;
        return false;
      },
      120));
  EXPECT_EQ(TextOf(shown), name);
  DWORD pid = 0;
  ::GetWindowThreadProcessId(shown, &pid);
  const UniqueHandle browser(
      ::OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION | SYNCHRONIZE, FALSE, pid));
  wchar_t image[MAX_PATH];
  DWORD size = MAX_PATH;
  ASSERT_TRUE(::QueryFullProcessImageNameW(browser.Get(), 0, image, &size));
  EXPECT_TRUE(Narrow(image).ends_with("\\explorer.exe")) << Narrow(image);
  ::PostMessageW(shown, WM_CLOSE, 0, 0);
  EXPECT_TRUE(WaitUntil([&] { return !::IsWindow(shown); }, 60));
}

}  // namespace
}  // namespace tarnwell::testing
