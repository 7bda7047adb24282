// SPDX-License-Identifier: GPL-3.0-or-later
#include "recording/RecordFileName.h"

#include <cstdio>

namespace tarnwell {

std::string NewLogFileName(const DateTime& at, bool advancedMode, RecordFileType type) {
  char digits[64];
  std::snprintf(digits, sizeof digits, "%04d%02d%02d%02d%02d%02d", at.year, at.month, at.day,
                at.hour, at.minute, at.second);
  std::string name(digits);
  if (advancedMode) name += ' ';
  name += type == RecordFileType::kSpreadsheet ? ".xls" : ".txt";
  return name;
}

bool IsPlainFileName(std::string_view name) {
  return !name.empty() && name != "." && name != ".." &&
         name.find_first_of(std::string_view("/\\\0", 3)) == std::string_view::npos;
}

std::string RecordFolder(const FileSystem& fs) { return fs.Join(fs.DataFolder(), "Log"); }

}  // namespace tarnwell
