// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "platform/FileSystem.h"

namespace tarnwell {

// The real file system. The program folder is the folder of the executable (symbolic links
// resolved), or the folder named by the environment variable TARNWELL_HOME when it is set.
class QtFileSystem : public FileSystem {
 public:
  QtFileSystem();
  // A fixed program folder, for tests and tools.
  explicit QtFileSystem(std::string programFolder);

  std::string ProgramFolder() const override { return programFolder_; }
  char Separator() const override { return '/'; }
  std::optional<std::string> ReadAll(const std::string& path) const override;
  std::optional<std::string> ReadTail(const std::string& path, std::size_t count) const override;
  bool WriteWhole(const std::string& path, const std::string& bytes) override;
  std::unique_ptr<AppendFile> OpenAppend(const std::string& path) override;
  bool FolderExists(const std::string& path) const override;
  bool CreateFolder(const std::string& path) override;
  bool FileExists(const std::string& path) const override;

 private:
  std::string programFolder_;
};

}  // namespace tarnwell
