// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <optional>
#include <string>

#include "platform/FileSystem.h"

namespace tarnwell::testing {

// The outcome of a sync started in the background, once it is told; nothing within a minute.
std::optional<bool> BackgroundSyncOf(AppendFile& file);

// Each operation of `files` in the data folder `dir`, in order, as 1 for success and 0 for
// failure: config.ini written whole and read back; the folder Log looked for and made; the
// record `recordName` in it appended to, synced at once and in the background, and read back.
// "ini 1 new | Log 01 | rec 111 1" where everything works.
std::string FileOperationsOutcome(FileSystem& files, const std::string& dir,
                                  const std::string& recordName);

}  // namespace tarnwell::testing
