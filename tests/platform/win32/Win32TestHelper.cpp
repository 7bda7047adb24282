// SPDX-License-Identifier: GPL-3.0-or-later
// The other process of the Windows tests, started by them with a role and its arguments:
//   folders <out>            writes the program and data folders, one line each
//   hold-lock <folder> <out> takes the folder's lock, writes whether it holds it, then waits
//   write-whole <path>       replaces the file whole again and again until killed
//   arguments <out> ...      writes the arguments that follow, each ended by a line feed
#include <windows.h>
// After windows.h, which they build on.
#include <shellapi.h>

#include <string>
#include <vector>

#include "Win32TestSupport.h"
#include "platform/win32/Utf16.h"
#include "platform/win32/Win32FileSystem.h"
#include "platform/win32/Win32FolderLock.h"

using namespace tarnwell;
using testing::WriteBytes;

int main() {
  int count = 0;
  wchar_t** words = ::CommandLineToArgvW(::GetCommandLineW(), &count);
  std::vector<std::string> args;
  for (int i = 1; i < count; ++i) args.push_back(Narrow(words[i]));
  ::LocalFree(words);
  if (args.size() < 2) return 2;
  const std::string& role = args[0];
  if (role == "folders") {
    const Win32FileSystem files;
    return WriteBytes(args[1], files.ProgramFolder() + "\n" + files.DataFolder() + "\n") ? 0 : 1;
  }
  if (role == "hold-lock" && args.size() == 3) {
    const Win32FolderLock lock(args[1]);
    WriteBytes(args[2], lock.Held() ? "held" : "refused");
    ::Sleep(INFINITE);
  }
  if (role == "write-whole") {
    Win32FileSystem files(".");
    const std::string bytes(8 << 20, 'n');
    for (;;) files.WriteWhole(args[1], bytes);
  }
  if (role == "arguments") {
    std::string out;
    for (std::size_t i = 2; i < args.size(); ++i) out += args[i] + "\n";
    return WriteBytes(args[1], out) ? 0 : 1;
  }
  return 2;
}
