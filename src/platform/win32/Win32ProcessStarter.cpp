// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/win32/Win32ProcessStarter.h"

#include <windows.h>

#include "platform/win32/Utf16.h"

namespace tarnwell {
namespace {

// CommandLineToArgvW's rules: inside quotes, backslashes stand for themselves except before a
// quote, where each pair is one backslash and an odd one makes the quote a letter.
std::wstring Quoted(const std::wstring& word) {
  if (!word.empty() && word.find_first_of(L" \t\n\v\"") == std::wstring::npos) return word;
  std::wstring out = L"\"";
  std::size_t backslashes = 0;
  for (const wchar_t c : word) {
    if (c == L'\\') {
      ++backslashes;
      continue;
    }
    out.append(c == L'"' ? 2 * backslashes + 1 : backslashes, L'\\');
    backslashes = 0;
    out += c;
  }
  out.append(2 * backslashes, L'\\');
  return out + L"\"";
}

std::wstring SystemFolder(UINT (*get)(LPWSTR, UINT)) {
  wchar_t folder[MAX_PATH + 1];
  const UINT n = get(folder, MAX_PATH + 1);
  return n > 0 && n <= MAX_PATH ? std::wstring(folder, n) : std::wstring();
}

bool IsProgramFile(const std::wstring& path) {
  const DWORD attributes = ::GetFileAttributesW(path.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

// The program `name` (".exe" added when it has no extension) in the system folder, the Windows
// folder or an absolute folder of PATH; empty when it is in none of them.
std::wstring Find(std::wstring name) {
  if (name.find(L'.') == std::wstring::npos) name += L".exe";
  std::vector<std::wstring> folders = {SystemFolder(::GetSystemDirectoryW),
                                       SystemFolder(::GetWindowsDirectoryW)};
  const DWORD size = ::GetEnvironmentVariableW(L"PATH", nullptr, 0);
  std::wstring path(size, L'\0');
  path.resize(::GetEnvironmentVariableW(L"PATH", path.data(), size));
  for (std::size_t from = 0; from <= path.size();) {
    const std::size_t end = std::min(path.find(L';', from), path.size());
    std::wstring folder = path.substr(from, end - from);
    if (folder.size() >= 2 && folder.front() == L'"' && folder.back() == L'"') {
      folder = folder.substr(1, folder.size() - 2);
    }
    const bool absolute =
        (folder.size() >= 3 && folder[1] == L':' && (folder[2] == L'\\' || folder[2] == L'/')) ||
        folder.starts_with(L"\\\\");
    if (absolute) folders.push_back(folder);
    from = end + 1;
  }
  for (std::wstring folder : folders) {
    if (folder.empty()) continue;
    if (folder.back() != L'\\' && folder.back() != L'/') folder += L'\\';
    if (IsProgramFile(folder + name)) return folder + name;
  }
  return {};
}

bool Start(const std::wstring& program, std::wstring commandLine) {
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION started{};
  if (!::CreateProcessW(program.c_str(), commandLine.data(), nullptr, nullptr, FALSE,
                        CREATE_NEW_PROCESS_GROUP, nullptr, nullptr, &startup, &started)) {
    return false;
  }
  ::CloseHandle(started.hThread);
  ::CloseHandle(started.hProcess);
  return true;
}

}  // namespace

std::wstring CommandLineOf(const std::vector<std::wstring>& words) {
  std::wstring line;
  for (std::size_t i = 0; i < words.size(); ++i) {
    if (i > 0) line += L' ';
    // The program's name is read to its closing quote without any backslash rule; a path
    // holds no quote.
    line += i == 0 ? L"\"" + words[i] + L"\"" : Quoted(words[i]);
  }
  return line;
}

bool Win32ProcessStarter::StartDetached(const std::string& program,
                                        const std::vector<std::string>& arguments) {
  std::wstring path = Widen(program);
  if (path.find_first_of(L"\\/:") == std::wstring::npos) path = Find(path);
  if (path.empty() || !IsProgramFile(path)) return false;
  std::vector<std::wstring> words{path};
  for (const std::string& a : arguments) words.push_back(Widen(a));
  return Start(path, CommandLineOf(words));
}

// The browser reads its own command line, not by the rules above: the folder follows the
// switch as it is, in plain quotes where a blank or a comma would cut it.
bool Win32ProcessStarter::OpenFolder(const std::string& folder) {
  const std::wstring windows = SystemFolder(::GetWindowsDirectoryW);
  if (windows.empty()) return false;
  const std::wstring explorer = windows + L"\\explorer.exe";
  std::wstring path = Widen(folder);
  if (path.find_first_of(L" ,;") != std::wstring::npos) path = L"\"" + path + L"\"";
  return Start(explorer, L"explorer.exe /e, " + path);
}

}  // namespace tarnwell
