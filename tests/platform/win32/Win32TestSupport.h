// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <windows.h>

#include <functional>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "platform/win32/UniqueHandle.h"

namespace tarnwell::testing {

// A fresh folder with letters of several scripts in its name, in the user's temporary folder or
// in `under`, removed with everything in it when the object goes (links removed, not followed).
class TempFolder {
 public:
  explicit TempFolder(const std::string& under = {});
  ~TempFolder();
  TempFolder(const TempFolder&) = delete;
  TempFolder& operator=(const TempFolder&) = delete;
  const std::string& Path() const { return path_; }
  std::string operator/(const std::string& name) const { return path_ + "\\" + name; }

 private:
  std::string path_;
};

std::optional<std::string> ReadBytes(const std::string& path);
bool WriteBytes(const std::string& path, const std::string& bytes);
bool MakeFolder(const std::string& path);
void MakeReadOnly(const std::string& path);
void RemoveAll(const std::string& path);
// The folder of this test's executable, where the helper program is built.
std::string OwnFolder();

// Everything in `folder`, sorted: " name" for each, with "@" after a link (also one leading
// nowhere), "(r)" after a read-only file and "=" and the content after a file under 64 bytes.
std::string Listing(const std::string& folder);
// A symbolic link at `link` to `target`, through the system where it makes them, else as a link
// of the Unix system beneath Wine. True when it is there.
bool PlantLink(const std::string& link, const std::string& target, bool folder = false);
// Whether the tests run under Wine, which shows no link to a file and no link leading nowhere.
bool UnderWine();
// Whether the system shows `path` as a reparse point.
bool ShownAsLink(const std::string& path);
// The Windows path of a Unix path under Wine; the text as given elsewhere.
std::string WindowsPathOf(const std::string& unixPath);

// A window's text, and its place in its parent's client area in pixels.
std::wstring WideTextOf(HWND window);
std::string TextOf(HWND window);
RECT PlaceInParent(HWND window);
// A memory device context for measuring texts, and what `text` needs in `font` there: one
// line, or lines broken at words within `wrapWidth` where it is above 0.
HDC MeasuringDc();
SIZE TextNeed(HFONT font, const std::wstring& text, LONG wrapWidth = 0);
// Pumps this thread's messages until `done` holds; a generous limit only against a hang.
bool PumpUntil(const std::function<bool()>& done);

// A program started with `arguments` and the environment changed by `environment` (an empty
// value removes the variable); killed when the object goes unless it ended.
class Child {
 public:
  Child(const std::string& program, const std::vector<std::string>& arguments,
        const std::map<std::string, std::string>& environment = {});
  ~Child();
  bool Started() const { return static_cast<bool>(process_); }
  // The exit code, or nothing when it has not ended within `seconds`.
  std::optional<DWORD> Wait(double seconds);
  void Kill();

 private:
  UniqueHandle process_;
};

}  // namespace tarnwell::testing
