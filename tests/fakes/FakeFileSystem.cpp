// SPDX-License-Identifier: GPL-3.0-or-later
#include "FakeFileSystem.h"

#include <utility>

namespace tarnwell::testing {
namespace {

class FakeAppendFile : public AppendFile {
 public:
  FakeAppendFile(FakeFileSystem* fs, std::string path) : fs_(fs), path_(std::move(path)) {}
  bool Write(const std::string& bytes) override {
    if (!Full()) fs_->files[path_] += bytes;
    return !Full();
  }
  bool Sync() override { return ++fs_->syncs, !Full(); }
  bool Reopen() override { return !Full(); }
  void StartSync() override { fs_->backgroundSyncs ? void(++fs_->syncs) : AppendFile::StartSync(); }
  std::optional<bool> TakeSyncOutcome() override {
    return fs_->backgroundSyncs ? std::exchange(fs_->finishedSync, std::nullopt)
                                : AppendFile::TakeSyncOutcome();
  }

 private:
  bool Full() const { return fs_->full || fs_->appendsFull; }

  FakeFileSystem* fs_;
  std::string path_;
};

}  // namespace

std::optional<std::string> FakeFileSystem::ReadAll(const std::string& path) const {
  const auto it = files.find(path);
  return it == files.end() ? std::nullopt : std::optional(it->second);
}

bool FakeFileSystem::WriteWhole(const std::string& path, const std::string& bytes) {
  if (!readOnly && !full) files[path] = bytes;
  return !readOnly && !full;
}

std::unique_ptr<AppendFile> FakeFileSystem::OpenAppend(const std::string& path) {
  if (readOnly) return nullptr;
  const auto slash = path.rfind('/');
  if (slash != std::string::npos && !FolderExists(path.substr(0, slash))) return nullptr;
  files[path];
  return std::make_unique<FakeAppendFile>(this, path);
}

bool FakeFileSystem::CreateFolder(const std::string& path) {
  const bool can = !readOnly && !files.count(path);
  if (can) folders.insert(path);
  return can;
}

}  // namespace tarnwell::testing
