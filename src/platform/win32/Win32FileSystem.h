// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "platform/FileSystem.h"

namespace tarnwell {

// The real file system. Paths are UTF-8 here and UTF-16 for Windows, so folders and names in any
// script work. The program folder is the folder of the executable. The data folder is the one
// the environment variable TARNWELL_HOME names when it is set; else, for an installed program
// (the file per-user-data beside it says so), the user's own %LOCALAPPDATA%\Tarnwell, made on
// the first start with access for that user, the system and the administrators only; else the
// program folder, as for an unpacked folder or the build.
class Win32FileSystem : public FileSystem {
 public:
  Win32FileSystem();
  // One fixed folder for both, for tests and tools.
  explicit Win32FileSystem(std::string folder);

  std::string ProgramFolder() const override { return programFolder_; }
  std::string DataFolder() const override { return dataFolder_; }
  char Separator() const override { return '\\'; }
  std::optional<std::string> ReadAll(const std::string& path) const override;
  std::optional<std::string> ReadTail(const std::string& path, std::size_t count) const override;
  // A file the user marked read-only keeps its content: the write fails.
  bool WriteWhole(const std::string& path, const std::string& bytes) override;
  std::unique_ptr<AppendFile> OpenAppend(const std::string& path) override;
  bool FolderExists(const std::string& path) const override;
  bool CreateFolder(const std::string& path) override;

 private:
  std::string programFolder_;
  std::string dataFolder_;
};

}  // namespace tarnwell
