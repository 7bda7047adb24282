// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/win32/Win32FileSystem.h"

#include <windows.h>
// After windows.h, which they build on.
#include <sddl.h>
#include <shlobj.h>

#include "platform/win32/PlainFiles.h"
#include "platform/win32/Utf16.h"
#include "platform/win32/Win32AppendFile.h"

namespace tarnwell {
namespace {

std::string WithoutTrailingSeparator(std::string path) {
  while (path.size() > 1 && (path.back() == '\\' || path.back() == '/')) path.pop_back();
  return path;
}

std::string ExecutableFolder() {
  std::wstring path(MAX_PATH, L'\0');
  for (;;) {
    const DWORD n = ::GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
    if (n == 0) return ".";
    if (n < path.size()) {
      path.resize(n);
      break;
    }
    path.resize(path.size() * 2);
  }
  return Narrow(path.substr(0, path.find_last_of(L"\\/")));
}

std::wstring Variable(const wchar_t* name) {
  const DWORD size = ::GetEnvironmentVariableW(name, nullptr, 0);
  if (size == 0) return {};
  std::wstring value(size, L'\0');
  value.resize(::GetEnvironmentVariableW(name, value.data(), size));
  return value;
}

// Full access for the user, the system and the administrators, as in the rest of the user's
// profile, and nothing inherited from above: a folder others were let into does not let them
// in here.
std::wstring PrivateAccess() {
  HANDLE token = nullptr;
  if (!::OpenProcessToken(::GetCurrentProcess(), TOKEN_QUERY, &token)) return {};
  alignas(TOKEN_USER) unsigned char buffer[256];
  DWORD size = 0;
  const bool got = ::GetTokenInformation(token, TokenUser, buffer, sizeof buffer, &size);
  ::CloseHandle(token);
  wchar_t* user = nullptr;
  if (!got || !::ConvertSidToStringSidW(reinterpret_cast<TOKEN_USER*>(buffer)->User.Sid, &user)) {
    return {};
  }
  std::wstring access =
      L"D:P(A;OICI;FA;;;" + std::wstring(user) + L")(A;OICI;FA;;;SY)(A;OICI;FA;;;BA)";
  ::LocalFree(user);
  return access;
}

// The user's own %LOCALAPPDATA%\Tarnwell, made where it is missing with the access above.
std::string PrivateDataFolder(const std::string& fallback) {
  wchar_t* local = nullptr;
  if (::SHGetKnownFolderPath(FOLDERID_LocalAppData, KF_FLAG_CREATE, nullptr, &local) != S_OK) {
    ::CoTaskMemFree(local);
    return fallback;
  }
  const std::wstring folder = std::wstring(local) + L"\\Tarnwell";
  ::CoTaskMemFree(local);
  PSECURITY_DESCRIPTOR descriptor = nullptr;
  const std::wstring access = PrivateAccess();
  if (!access.empty() && ::ConvertStringSecurityDescriptorToSecurityDescriptorW(
                             access.c_str(), SDDL_REVISION_1, &descriptor, nullptr)) {
    SECURITY_ATTRIBUTES attributes{sizeof attributes, descriptor, FALSE};
    ::CreateDirectoryW(folder.c_str(), &attributes);
    ::LocalFree(descriptor);
  }
  return Narrow(folder);
}

UniqueHandle OpenToRead(const std::string& path) {
  UniqueHandle file(::CreateFileW(Widen(path).c_str(), GENERIC_READ,
                                  FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                  OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  // Only a plain file: a device or pipe at its name would hold the program or read endlessly.
  if (file && ::GetFileType(file.Get()) != FILE_TYPE_DISK) file.Reset();
  return file;
}

}  // namespace

Win32FileSystem::Win32FileSystem() : programFolder_(ExecutableFolder()) {
  const std::string home = Narrow(Variable(L"TARNWELL_HOME"));
  const std::wstring marker = Widen(programFolder_ + "\\per-user-data");
  if (!home.empty()) {
    dataFolder_ = WithoutTrailingSeparator(home);
  } else if (::GetFileAttributesW(marker.c_str()) != INVALID_FILE_ATTRIBUTES) {
    dataFolder_ = PrivateDataFolder(programFolder_);
  } else {
    dataFolder_ = programFolder_;
  }
}

Win32FileSystem::Win32FileSystem(std::string folder)
    : programFolder_(WithoutTrailingSeparator(std::move(folder))), dataFolder_(programFolder_) {}

std::optional<std::string> Win32FileSystem::ReadAll(const std::string& path) const {
  return ReadTail(path, std::string::npos);
}

std::optional<std::string> Win32FileSystem::ReadTail(const std::string& path,
                                                     std::size_t count) const {
  const UniqueHandle file = OpenToRead(path);
  LARGE_INTEGER size{};
  if (!file || !::GetFileSizeEx(file.Get(), &size)) return std::nullopt;
  if (count < static_cast<ULONGLONG>(size.QuadPart)) {
    LARGE_INTEGER from{};
    from.QuadPart = size.QuadPart - static_cast<LONGLONG>(count);
    if (!::SetFilePointerEx(file.Get(), from, nullptr, FILE_BEGIN)) return std::nullopt;
  }
  std::string bytes;
  char buffer[65536];
  for (;;) {
    DWORD n = 0;
    if (!::ReadFile(file.Get(), buffer, sizeof buffer, &n, nullptr)) return std::nullopt;
    if (n == 0) return bytes;
    bytes.append(buffer, n);
  }
}

bool Win32FileSystem::WriteWhole(const std::string& path, const std::string& bytes) {
  const std::wstring target = Widen(path), temp = Widen(path + ".new");
  const DWORD old = ::GetFileAttributesW(target.c_str());
  if (old != INVALID_FILE_ATTRIBUTES && (old & FILE_ATTRIBUTE_READONLY)) return false;
  const auto create = [&] {
    return UniqueHandle(::CreateFileW(temp.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                      FILE_ATTRIBUTE_NORMAL, nullptr));
  };
  // One program holds the folder, so one fixed name serves; what a killed write left is
  // removed first (a link there itself, never what it leads to, except under Wine, which
  // removes the target).
  UniqueHandle file = create();
  if (!file && ::GetLastError() == ERROR_FILE_EXISTS && ::DeleteFileW(temp.c_str())) {
    file = create();
  }
  if (!file) return false;
  const bool written = WriteAll(file.Get(), bytes) && ::FlushFileBuffers(file.Get());
  file.Reset();
  if (!written || !::MoveFileExW(temp.c_str(), target.c_str(),
                                 MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
    ::DeleteFileW(temp.c_str());
    return false;
  }
  return true;
}

std::unique_ptr<AppendFile> Win32FileSystem::OpenAppend(const std::string& path) {
  return Win32AppendFile::Open(path);
}

bool Win32FileSystem::FolderExists(const std::string& path) const {
  return IsRealFolder(Widen(path));
}

bool Win32FileSystem::CreateFolder(const std::string& path) {
  if (::CreateDirectoryW(Widen(path).c_str(), nullptr)) return true;
  return ::GetLastError() == ERROR_ALREADY_EXISTS && FolderExists(path);
}

}  // namespace tarnwell
