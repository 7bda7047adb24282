// SPDX-License-Identifier: GPL-3.0-or-later
#include "FileOutcome.h"

#include "TestFiles.h"

namespace tarnwell::testing {

std::optional<bool> BackgroundSyncOf(AppendFile& file) {
  file.StartSync();
  std::optional<bool> done;
  WaitUntil([&] { return (done = file.TakeSyncOutcome()).has_value(); }, 60);
  return done;
}

std::string FileOperationsOutcome(FileSystem& files, const std::string& dir,
                                  const std::string& recordName) {
  const std::string ini = files.Join(dir, "config.ini"), log = files.Join(dir, "Log");
  const std::string rec = files.Join(log, recordName);
  const auto n = [](bool b) { return std::string(b ? "1" : "0"); };
  std::string out = "ini " + n(files.WriteWhole(ini, "new"));
  out += " " + files.ReadAll(ini).value_or("-") + " | Log " + n(files.FolderExists(log));
  out += n(files.CreateFolder(log)) + " | rec ";
  if (auto file = files.OpenAppend(rec)) {
    const bool wrote = file->Write("1"), synced = file->Sync();
    out += n(wrote) + n(synced) + n(BackgroundSyncOf(*file).value_or(false));
  }
  return out + " " + files.ReadAll(rec).value_or("-");
}

}  // namespace tarnwell::testing
