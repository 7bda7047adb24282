// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>
#include <string_view>

#include "config/AppConfig.h"
#include "platform/DateTime.h"
#include "platform/FileSystem.h"

namespace tarnwell {

// A record file name from a local reading: the 14 digits yyyymmddhhmmss, in advanced mode a
// blank, then ".xls" when `logFileType` is 1, else ".txt".
std::string NewLogFileName(const DateTime& at, bool advancedMode, RecordFileType type);

// The record folder "Log" in the data folder.
std::string RecordFolder(const FileSystem& fs);

// True for a name that stays a file inside the record folder: not empty, not "." or "..", no
// path separator of either kind, no NUL ("batch..2024.txt" is one). config.ini can be edited by
// hand, so its name is checked.
bool IsPlainFileName(std::string_view name);

}  // namespace tarnwell
