// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <windows.h>

#include <string>

#include "platform/win32/UniqueHandle.h"

namespace tarnwell {

// Opens `path`, making a new file only where no name is; a name that is there, a link leading
// nowhere included, is opened itself and never followed. The last error is that of the open.
UniqueHandle OpenInPlace(const std::wstring& path, DWORD access, DWORD share);
// Whether `file` is a plain file on a disk that may be written: not a folder, device, pipe, link
// or junction, and not marked read-only.
bool IsWritablePlainFile(HANDLE file);
// Opens the folder of `path` so that it cannot be renamed, removed or replaced meanwhile; nothing
// when it is not a real folder (a link or junction to one is not).
UniqueHandle HoldFolderOf(const std::wstring& path);
// Whether the open file still has a name, not removed meanwhile. (GetFileInformationByHandle
// costs half a millisecond under Wine, which reads the volume's label for it.)
bool StillThere(HANDLE file);
// Whether `path` is a real folder, not a link or junction to one.
bool IsRealFolder(const std::wstring& path);
// Writes every byte at the file's position; false at the first refusal (a full disk takes what
// fits and refuses the rest at the next write).
bool WriteAll(HANDLE file, const std::string& bytes);

}  // namespace tarnwell
