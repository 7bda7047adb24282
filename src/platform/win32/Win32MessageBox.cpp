// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/win32/Win32MessageBox.h"

#include <cstdio>
#include <future>

#include "platform/win32/UniqueHandle.h"
#include "platform/win32/Utf16.h"

namespace tarnwell {

struct Win32MessageBox::OpenBox {
  std::wstring title;
  std::wstring text;
  std::thread thread;
  DWORD threadId = 0;
  std::atomic<bool> closed{false};
};

namespace {

void ToStandardError(const std::string& title, const std::string& text) {
  std::fprintf(stderr, "%s: %s\n", title.c_str(), text.c_str());
}

std::wstring MessageLog() {
  wchar_t path[32768];
  const DWORD n = ::GetEnvironmentVariableW(L"TARNWELL_MESSAGE_LOG", path, 32768);
  return n > 0 && n < 32768 ? std::wstring(path, n) : std::wstring();
}

// Every writer appends at the end, so lines of several programs stay whole.
bool AppendLine(const std::wstring& log, const std::string& line) {
  const UniqueHandle file(::CreateFileW(log.c_str(), FILE_APPEND_DATA,
                                        FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                        nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
  DWORD n = 0;
  return file &&
         ::WriteFile(file.Get(), line.data(), static_cast<DWORD>(line.size()), &n, nullptr) &&
         n == line.size();
}

HWND BoxOf(DWORD threadId) {
  HWND box = nullptr;
  const auto each = [](HWND window, LPARAM found) -> BOOL {
    wchar_t kind[16];
    kind[::GetClassNameW(window, kind, 16)] = 0;
    if (std::wstring(kind) != L"#32770") return TRUE;
    *reinterpret_cast<HWND*>(found) = window;
    return FALSE;
  };
  ::EnumThreadWindows(threadId, each, reinterpret_cast<LPARAM>(&box));
  return box;
}

}  // namespace

Win32MessageBox::Win32MessageBox(std::string programTitle)
    : programTitle_(std::move(programTitle)) {}

// A box's modal loop ends on the quit message, also one that came before the box.
Win32MessageBox::~Win32MessageBox() {
  for (const auto& box : open_) {
    if (!box->closed) ::PostThreadMessageW(box->threadId, WM_QUIT, 0, 0);
  }
  for (const auto& box : open_) box->thread.join();
}

void Win32MessageBox::Show(const std::string& text, const std::string& title) {
  const std::string& shownTitle = title.empty() ? programTitle_ : title;
  if (const std::wstring log = MessageLog(); !log.empty()) {
    if (!AppendLine(log, shownTitle + "\t" + text + "\n")) ToStandardError(shownTitle, text);
    return;
  }
  if (quiet_) return ToStandardError(shownTitle, text);
  if (!waiting_) return OpenBeside(Widen(shownTitle), Widen(text));
  // Over the window the operator works in (the settings dialog after Apply).
  HWND over = ::GetActiveWindow();
  ::MessageBoxW(over ? over : owner_, Widen(text).c_str(), Widen(shownTitle).c_str(),
                MB_OK | MB_ICONINFORMATION);
}

// The box has no owner, so that it disables no window of the program, and stays on top, so that
// it cannot get lost behind the main window.
void Win32MessageBox::OpenBeside(std::wstring title, std::wstring text) {
  ForgetClosed();
  for (const auto& box : open_) {
    if (box->title != title || box->text != text) continue;
    // The same message again only brings its box to the front.
    if (HWND window = BoxOf(box->threadId)) {
      ::SetForegroundWindow(window);
      ::FlashWindow(window, TRUE);
    }
    return;
  }
  if (open_.size() >= kMostOpen) return ToStandardError(Narrow(title), Narrow(text));
  auto box = std::make_unique<OpenBox>();
  box->title = std::move(title);
  box->text = std::move(text);
  std::promise<DWORD> started;
  OpenBox* shown = box.get();
  box->thread = std::thread([shown, &started] {
    MSG message;
    // The thread's message queue, before anyone may post to it.
    ::PeekMessageW(&message, nullptr, 0, 0, PM_NOREMOVE);
    started.set_value(::GetCurrentThreadId());
    ::MessageBoxW(nullptr, shown->text.c_str(), shown->title.c_str(),
                  MB_OK | MB_ICONINFORMATION | MB_SETFOREGROUND | MB_TOPMOST);
    shown->closed = true;
  });
  box->threadId = started.get_future().get();
  open_.push_back(std::move(box));
}

void Win32MessageBox::ForgetClosed() {
  std::erase_if(open_, [](const std::unique_ptr<OpenBox>& box) {
    if (!box->closed) return false;
    box->thread.join();
    return true;
  });
}

}  // namespace tarnwell
