// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "platform/FileSystem.h"

namespace tarnwell {

// The real file system. The program folder is the folder of the executable (symbolic links
// resolved). The data folder is the one named by the environment variable TARNWELL_HOME when it
// is set; else, for a program installed by the package (the file per-user-data beside it says
// so), the user's own <data home>/tarnwell, made on the first start; else the program folder,
// as for a build or a folder made by `cmake --install --prefix`. In the user's own folder
// everything is made for the user alone, whatever the umask; elsewhere the umask decides.
class PosixFileSystem : public FileSystem {
 public:
  PosixFileSystem();
  // One fixed folder for both, for tests and tools.
  explicit PosixFileSystem(std::string folder);

  // Why the data folder must not be used (another user could change it or what leads to it);
  // nothing when it can be.
  const std::optional<std::string>& DataFolderProblem() const { return problem_; }
  // The mode new files are made with (less the umask).
  unsigned FileMode() const { return private_ ? 0600 : 0666; }

  std::string ProgramFolder() const override { return programFolder_; }
  std::string DataFolder() const override { return dataFolder_; }
  char Separator() const override { return '/'; }
  std::optional<std::string> ReadAll(const std::string& path) const override;
  std::optional<std::string> ReadTail(const std::string& path, std::size_t count) const override;
  bool WriteWhole(const std::string& path, const std::string& bytes) override;
  std::unique_ptr<AppendFile> OpenAppend(const std::string& path) override;
  bool FolderExists(const std::string& path) const override;
  bool CreateFolder(const std::string& path) override;

 private:
  std::string programFolder_;
  std::string dataFolder_;
  bool private_ = false;
  std::optional<std::string> problem_;
};

}  // namespace tarnwell
