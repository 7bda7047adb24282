// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/win32/Win32FolderLock.h"

#include "platform/win32/PlainFiles.h"
#include "platform/win32/Utf16.h"

namespace tarnwell {

Win32FolderLock::Win32FolderLock(const std::string& folder) {
  UniqueHandle file = OpenInPlace(Widen(folder + "\\.lock"), GENERIC_READ | GENERIC_WRITE, 0);
  // Only another holder refuses. Where no lock file can be held (a folder this user may not
  // write, a link or a device at its name) nothing can be kept from the program.
  if (!file) {
    held_ = ::GetLastError() != ERROR_SHARING_VIOLATION;
    return;
  }
  held_ = true;
  if (IsWritablePlainFile(file.Get())) file_ = std::move(file);
}

}  // namespace tarnwell
