// SPDX-License-Identifier: GPL-3.0-or-later
#include "Win32TestSupport.h"

#include <algorithm>
#include <atomic>

#include "TestFiles.h"
#include "platform/win32/MessageWindow.h"
#include "platform/win32/Utf16.h"
#include "platform/win32/Win32ProcessStarter.h"

namespace tarnwell::testing {
namespace {

struct Entry {
  std::wstring name;
  DWORD attributes;
};

std::vector<Entry> EntriesOf(const std::wstring& folder) {
  std::vector<Entry> entries;
  WIN32_FIND_DATAW found;
  const HANDLE search = ::FindFirstFileW((folder + L"\\*").c_str(), &found);
  if (search == INVALID_HANDLE_VALUE) return entries;
  do {
    const std::wstring name = found.cFileName;
    if (name != L"." && name != L"..") entries.push_back({name, found.dwFileAttributes});
  } while (::FindNextFileW(search, &found));
  ::FindClose(search);
  std::sort(entries.begin(), entries.end(),
            [](const Entry& a, const Entry& b) { return a.name < b.name; });
  return entries;
}

bool IsLink(const std::wstring& path, DWORD listed) {
  // A link leading nowhere is listed in its folder but has no attributes of its own.
  return (listed & FILE_ATTRIBUTE_REPARSE_POINT) ||
         ::GetFileAttributesW(path.c_str()) == INVALID_FILE_ATTRIBUTES;
}

void ListInto(std::string& out, const std::wstring& folder, const std::string& prefix) {
  for (const Entry& e : EntriesOf(folder)) {
    const std::wstring path = folder + L"\\" + e.name;
    const std::string name = prefix + Narrow(e.name);
    out += " " + name;
    if (IsLink(path, e.attributes)) {
      out += "@";
    } else if (e.attributes & FILE_ATTRIBUTE_DIRECTORY) {
      ListInto(out, path, name + "\\");
    } else {
      if (e.attributes & FILE_ATTRIBUTE_READONLY) out += "(r)";
      const auto bytes = ReadBytes(Narrow(path));
      if (bytes && bytes->size() < 64) out += "=" + *bytes;
    }
  }
}

void RemoveAllOf(const std::wstring& path) {
  const DWORD attributes = ::GetFileAttributesW(path.c_str());
  const bool link =
      attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_REPARSE_POINT);
  if (!link && (attributes & FILE_ATTRIBUTE_DIRECTORY)) {
    for (const Entry& e : EntriesOf(path)) RemoveAllOf(path + L"\\" + e.name);
  }
  ::SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL);
  if (!::RemoveDirectoryW(path.c_str())) ::DeleteFileW(path.c_str());
}

// Wine's own conversions between its drives and the Unix folders beneath them.
template <typename Function>
Function WineFunction(const char* name) {
  return reinterpret_cast<Function>(
      reinterpret_cast<void*>(::GetProcAddress(::GetModuleHandleW(L"kernel32.dll"), name)));
}

// The Unix path of `path` under Wine (its folder must exist, the name itself need not); empty
// elsewhere.
std::string UnixPathOf(const std::string& path) {
  using ToUnix = char* (*)(const wchar_t*);
  const auto toUnix = WineFunction<ToUnix>("wine_get_unix_file_name");
  const auto slash = path.find_last_of('\\');
  char* parent = toUnix ? toUnix(Widen(path.substr(0, slash)).c_str()) : nullptr;
  if (!parent) return {};
  std::string converted = std::string(parent) + "/" + path.substr(slash + 1);
  ::HeapFree(::GetProcessHeap(), 0, parent);
  return converted;
}

}  // namespace

TempFolder::TempFolder(const std::string& under) {
  static std::atomic<int> count{0};
  wchar_t temp[MAX_PATH + 1];
  const std::string base =
      under.empty() ? Narrow(std::wstring(temp, ::GetTempPathW(MAX_PATH + 1, temp))) : under + "\\";
  const std::string name = "tarnwell Ölçü Тест " + std::to_string(::GetCurrentProcessId()) + "-" +
                           std::to_string(++count);
  path_ = base + name;
  while (!path_.empty() && path_.ends_with("\\\\")) path_.pop_back();
  RemoveAll(path_);
  MakeFolder(path_);
}

TempFolder::~TempFolder() { RemoveAll(path_); }

std::optional<std::string> ReadBytes(const std::string& path) {
  const UniqueHandle file(::CreateFileW(Widen(path).c_str(), GENERIC_READ,
                                        FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                        nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file || ::GetFileType(file.Get()) != FILE_TYPE_DISK) return std::nullopt;
  std::string bytes;
  char buffer[65536];
  DWORD n = 0;
  while (::ReadFile(file.Get(), buffer, sizeof buffer, &n, nullptr) && n > 0)
    bytes.append(buffer, n);
  return bytes;
}

bool WriteBytes(const std::string& path, const std::string& bytes) {
  const UniqueHandle file(::CreateFileW(Widen(path).c_str(), GENERIC_WRITE, 0, nullptr,
                                        CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
  DWORD n = 0;
  return file &&
         ::WriteFile(file.Get(), bytes.data(), static_cast<DWORD>(bytes.size()), &n, nullptr) &&
         n == bytes.size();
}

bool MakeFolder(const std::string& path) {
  return ::CreateDirectoryW(Widen(path).c_str(), nullptr) != 0;
}

void MakeReadOnly(const std::string& path) {
  ::SetFileAttributesW(Widen(path).c_str(), FILE_ATTRIBUTE_READONLY);
}

// Under Wine a link is removed by Unix means: Wine's own removal takes what it leads to.
void RemoveAll(const std::string& path) {
  const std::wstring wide = Widen(path);
  const auto gone = [&] { return ::GetFileAttributesW(wide.c_str()) == INVALID_FILE_ATTRIBUTES; };
  if (path.empty() || gone()) return;
  if (const std::string unix = UnixPathOf(path); !unix.empty()) {
    const Child rm("Z:\\bin\\rm", {"-rf", unix});
    WaitUntil(gone, 60);
  } else {
    RemoveAllOf(wide);
  }
}

std::string OwnFolder() {
  wchar_t path[32768];
  const std::wstring exe(path, ::GetModuleFileNameW(nullptr, path, 32768));
  return Narrow(exe.substr(0, exe.find_last_of(L"\\/")));
}

std::string Listing(const std::string& folder) {
  std::string out;
  ListInto(out, Widen(folder), "");
  return out;
}

bool ShownAsLink(const std::string& path) {
  const DWORD attributes = ::GetFileAttributesW(Widen(path).c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_REPARSE_POINT);
}

bool PlantLink(const std::string& link, const std::string& target, bool folder) {
  const DWORD flags =
      SYMBOLIC_LINK_FLAG_ALLOW_UNPRIVILEGED_CREATE | (folder ? SYMBOLIC_LINK_FLAG_DIRECTORY : 0);
  if (::CreateSymbolicLinkW(Widen(link).c_str(), Widen(target).c_str(), flags) &&
      ShownAsLink(link)) {
    return true;
  }
  // Wine gives no handle to wait on for a Unix program, nor shows a link that leads nowhere:
  // a file made after the link tells that it is there.
  const std::string planted = link + ".planted";
  const Child ln("Z:\\bin\\sh", {"-c", "ln -s \"$0\" \"$1\" && : >\"$2\"", UnixPathOf(target),
                                 UnixPathOf(link), UnixPathOf(planted)});
  const bool made = WaitUntil([&] { return ReadBytes(planted).has_value(); }, 60);
  ::DeleteFileW(Widen(planted).c_str());
  return made;
}

bool UnderWine() { return WineFunction<void (*)()>("wine_get_unix_file_name") != nullptr; }

std::string WindowsPathOf(const std::string& unixPath) {
  using ToDos = wchar_t* (*)(const char*);
  const auto toDos = WineFunction<ToDos>("wine_get_dos_file_name");
  wchar_t* dos = toDos ? toDos(unixPath.c_str()) : nullptr;
  if (!dos) return unixPath;
  std::string path = Narrow(dos);
  ::HeapFree(::GetProcessHeap(), 0, dos);
  return path;
}

std::wstring WideTextOf(HWND window) {
  wchar_t text[512] = {};
  ::GetWindowTextW(window, text, 512);
  return text;
}

std::string TextOf(HWND window) { return Narrow(WideTextOf(window)); }

RECT PlaceInParent(HWND window) {
  RECT r{};
  ::GetWindowRect(window, &r);
  ::MapWindowPoints(nullptr, ::GetParent(window), reinterpret_cast<POINT*>(&r), 2);
  return r;
}

HDC MeasuringDc() {
  static const HDC dc = ::CreateCompatibleDC(nullptr);
  return dc;
}

SIZE TextNeed(HFONT font, const std::wstring& text, LONG wrapWidth) {
  ::SelectObject(MeasuringDc(), font);
  RECT r{0, 0, wrapWidth, 0};
  ::DrawTextW(MeasuringDc(), text.c_str(), static_cast<int>(text.size()), &r,
              DT_CALCRECT | DT_NOPREFIX | (wrapWidth > 0 ? DT_WORDBREAK : DT_SINGLELINE));
  return {r.right, r.bottom};
}

bool PumpUntil(const std::function<bool()>& done) { return MessageWindow::RunUntil(done, 60000); }

Child::Child(const std::string& program, const std::vector<std::string>& arguments,
             const std::map<std::string, std::string>& environment) {
  std::vector<std::wstring> words{Widen(program)};
  for (const std::string& a : arguments) words.push_back(Widen(a));
  std::wstring line = CommandLineOf(words);
  std::map<std::wstring, std::wstring> variables;
  const wchar_t* block = ::GetEnvironmentStringsW();
  for (const wchar_t* v = block; *v; v += wcslen(v) + 1) {
    const std::wstring entry = v;
    const auto is = entry.find(L'=', 1);
    if (is != std::wstring::npos) variables[entry.substr(0, is)] = entry.substr(is + 1);
  }
  ::FreeEnvironmentStringsW(const_cast<wchar_t*>(block));
  for (const auto& [name, value] : environment) {
    if (value.empty()) {
      variables.erase(Widen(name));
    } else {
      variables[Widen(name)] = Widen(value);
    }
  }
  std::wstring env;
  for (const auto& [name, value] : variables) env += name + L"=" + value + L'\0';
  env += L'\0';
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION info{};
  if (::CreateProcessW(nullptr, line.data(), nullptr, nullptr, FALSE, CREATE_UNICODE_ENVIRONMENT,
                       environment.empty() ? nullptr : env.data(), nullptr, &startup, &info)) {
    process_.Reset(info.hProcess);
    ::CloseHandle(info.hThread);
  }
}

Child::~Child() {
  if (process_ && !Wait(0)) Kill();
}

std::optional<DWORD> Child::Wait(double seconds) {
  if (!process_ ||
      ::WaitForSingleObject(process_.Get(), static_cast<DWORD>(seconds * 1000)) != WAIT_OBJECT_0) {
    return std::nullopt;
  }
  DWORD code = 0;
  ::GetExitCodeProcess(process_.Get(), &code);
  return code;
}

void Child::Kill() {
  ::TerminateProcess(process_.Get(), 9);
  ::WaitForSingleObject(process_.Get(), 60000);
}

}  // namespace tarnwell::testing
