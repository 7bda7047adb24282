// SPDX-License-Identifier: GPL-3.0-or-later
#include "FakeFileSystem.h"

#include <utility>

namespace tarnwell::testing {
namespace {

class FakeAppendFile : public AppendFile {
 public:
  FakeAppendFile(FakeFileSystem* fs, std::string path) : fs_(fs), path_(std::move(path)) {}
  bool Write(const std::string& bytes) override {
    if (fs_->full) return false;
    ++fs_->appends;
    fs_->files[path_] += bytes;
    return true;
  }
  bool Sync() override {
    ++fs_->syncs;
    return !fs_->full;
  }
  bool Reopen() override { return !fs_->full; }
  void StartSync() override {
    if (!fs_->backgroundSyncs) return AppendFile::StartSync();
    ++fs_->syncs;
  }
  std::optional<bool> TakeSyncOutcome() override {
    if (!fs_->backgroundSyncs) return AppendFile::TakeSyncOutcome();
    return std::exchange(fs_->finishedSync, std::nullopt);
  }

 private:
  FakeFileSystem* fs_;
  std::string path_;
};

}  // namespace

std::optional<std::string> FakeFileSystem::ReadAll(const std::string& path) const {
  const auto it = files.find(path);
  if (it == files.end()) return std::nullopt;
  return it->second;
}

bool FakeFileSystem::WriteWhole(const std::string& path, const std::string& bytes) {
  if (readOnly || full) return false;
  files[path] = bytes;
  return true;
}

std::unique_ptr<AppendFile> FakeFileSystem::OpenAppend(const std::string& path) {
  if (readOnly) return nullptr;
  const auto slash = path.rfind('/');
  if (slash != std::string::npos && !FolderExists(path.substr(0, slash))) return nullptr;
  files[path];
  return std::make_unique<FakeAppendFile>(this, path);
}

bool FakeFileSystem::CreateFolder(const std::string& path) {
  if (readOnly || files.count(path)) return false;
  folders.insert(path);
  return true;
}

}  // namespace tarnwell::testing
