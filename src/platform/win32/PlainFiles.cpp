// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/win32/PlainFiles.h"

#include <algorithm>
#include <optional>

namespace tarnwell {

UniqueHandle OpenInPlace(const std::wstring& path, DWORD access, DWORD share) {
  UniqueHandle file(::CreateFileW(path.c_str(), access, share, nullptr, CREATE_NEW,
                                  FILE_ATTRIBUTE_NORMAL, nullptr));
  if (file || ::GetLastError() != ERROR_FILE_EXISTS) return file;
  return UniqueHandle(::CreateFileW(path.c_str(), access, share, nullptr, OPEN_EXISTING,
                                    FILE_ATTRIBUTE_NORMAL | FILE_FLAG_OPEN_REPARSE_POINT, nullptr));
}

namespace {

std::optional<DWORD> AttributesOf(HANDLE file) {
  FILE_BASIC_INFO info{};
  if (!::GetFileInformationByHandleEx(file, FileBasicInfo, &info, sizeof info)) return {};
  return info.FileAttributes;
}

}  // namespace

bool IsWritablePlainFile(HANDLE file) {
  constexpr DWORD kNotPlain = FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_REPARSE_POINT |
                              FILE_ATTRIBUTE_DEVICE | FILE_ATTRIBUTE_READONLY;
  return ::GetFileType(file) == FILE_TYPE_DISK &&
         (AttributesOf(file).value_or(kNotPlain) & kNotPlain) == 0;
}

bool StillThere(HANDLE file) {
  FILE_STANDARD_INFO info{};
  return ::GetFileInformationByHandleEx(file, FileStandardInfo, &info, sizeof info) &&
         info.NumberOfLinks > 0 && !info.DeletePending;
}

bool IsRealFolder(const std::wstring& path) {
  // Wine shows a link to a folder as a reparse point here only, not on an open handle.
  const DWORD attributes = ::GetFileAttributesW(path.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) &&
         !(attributes & FILE_ATTRIBUTE_REPARSE_POINT);
}

UniqueHandle HoldFolderOf(const std::wstring& path) {
  const auto slash = path.find_last_of(L"\\/");
  const std::wstring folder = slash == std::wstring::npos ? L"."
                              : slash == 0                ? path.substr(0, 1)
                                                          : path.substr(0, slash);
  if (!IsRealFolder(folder)) return {};
  // Others may look into the folder and change what is in it, but not rename or remove it.
  UniqueHandle held(::CreateFileW(folder.c_str(), FILE_LIST_DIRECTORY | FILE_READ_ATTRIBUTES,
                                  FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                                  FILE_FLAG_BACKUP_SEMANTICS | FILE_FLAG_OPEN_REPARSE_POINT,
                                  nullptr));
  constexpr DWORD kKind = FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_REPARSE_POINT;
  if (!held || (AttributesOf(held.Get()).value_or(0) & kKind) != FILE_ATTRIBUTE_DIRECTORY)
    return {};
  return held;
}

bool WriteAll(HANDLE file, const std::string& bytes) {
  constexpr std::size_t kMostPerWrite = 1 << 20;
  for (std::size_t done = 0; done < bytes.size();) {
    const auto size = static_cast<DWORD>(std::min(bytes.size() - done, kMostPerWrite));
    DWORD n = 0;
    if (!::WriteFile(file, bytes.data() + done, size, &n, nullptr) || n == 0) return false;
    done += n;
  }
  return true;
}

}  // namespace tarnwell
