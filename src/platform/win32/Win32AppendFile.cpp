// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/win32/Win32AppendFile.h"

#include "platform/win32/PlainFiles.h"
#include "platform/win32/Utf16.h"

namespace tarnwell {
std::unique_ptr<Win32AppendFile> Win32AppendFile::Open(const std::string& path) {
  const std::wstring wide = Widen(path);
  UniqueHandle folder = HoldFolderOf(wide);
  if (!folder) return nullptr;
  UniqueHandle file = OpenInPlace(wide, GENERIC_WRITE | FILE_READ_ATTRIBUTES, FILE_SHARE_READ);
  if (!file || !IsWritablePlainFile(file.Get())) return nullptr;
  return std::unique_ptr<Win32AppendFile>(
      new Win32AppendFile(path, std::move(folder), std::move(file)));
}

Win32AppendFile::Win32AppendFile(std::string path, UniqueHandle folder, UniqueHandle file)
    : path_(std::move(path)), folder_(std::move(folder)), file_(std::move(file)) {}

bool Win32AppendFile::Write(const std::string& bytes) {
  // A file removed under us (possible beneath Wine only) would take every further line into
  // nothing.
  if (!file_ || !StillThere(file_.Get())) return false;
  LARGE_INTEGER end{};
  if (!::SetFilePointerEx(file_.Get(), LARGE_INTEGER{}, &end, FILE_END)) return false;
  if (WriteAll(file_.Get(), bytes)) return true;
  ::SetFilePointerEx(file_.Get(), end, nullptr, FILE_BEGIN);
  ::SetEndOfFile(file_.Get());
  return false;
}

bool Win32AppendFile::Sync() { return file_ && FlushToDisk(file_.Get()); }

bool Win32AppendFile::Reopen() {
  file_.Reset();
  folder_.Reset();
  auto again = Open(path_);
  if (!again) return false;
  folder_ = std::move(again->folder_);
  file_ = std::move(again->file_);
  return true;
}

}  // namespace tarnwell
