// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <map>
#include <memory>
#include <optional>
#include <set>
#include <string>

#include "platform/FileSystem.h"

namespace tarnwell::testing {

// An in-memory file system with '/' as separator. `full` makes every write fail until it is
// cleared, `appendsFull` only appends (records on a full disk of their own); `readOnly` refuses
// whole writes, appends and folder creation.
// With `backgroundSyncs` a started sync finishes only when the test sets `finishedSync`.
class FakeFileSystem : public FileSystem {
 public:
  std::string ProgramFolder() const override { return folder; }
  std::string DataFolder() const override { return folder; }
  char Separator() const override { return '/'; }
  std::optional<std::string> ReadAll(const std::string& path) const override;
  bool WriteWhole(const std::string& path, const std::string& bytes) override;
  std::unique_ptr<AppendFile> OpenAppend(const std::string& path) override;
  bool FolderExists(const std::string& path) const override { return folders.count(path) > 0; }
  bool CreateFolder(const std::string& path) override;

  std::string folder = "/prog";
  std::map<std::string, std::string> files;
  std::set<std::string> folders{"/prog"};
  bool full = false, appendsFull = false, readOnly = false, backgroundSyncs = false;
  std::optional<bool> finishedSync;
  int syncs = 0;
};

}  // namespace tarnwell::testing
