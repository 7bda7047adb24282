// SPDX-License-Identifier: GPL-3.0-or-later
// Does what an operator does to the running tarnwell.exe, for program.sh: one step per run, in
// the same Wine session. Exits 0 when the step was done, 1 when its window or control did not
// come within a minute.
//   operator.exe click CONTROL     presses a control of the main window by its design name
//   operator.exe checked CONTROL   prints 1 when that check box is ticked, else 0
//   operator.exe press CAPTION     presses the button of that caption in the settings window
#include <windows.h>

#include <chrono>
#include <cstdio>
#include <string>
#include <thread>

#include "app/MainDesign.h"
#include "platform/win32/Utf16.h"

namespace tarnwell {
namespace {

// The main window's controls are numbered from 100 in the design's order.
constexpr int kFirstControlId = 100;

template <typename Found>
auto WaitFor(Found found) {
  const auto until = std::chrono::steady_clock::now() + std::chrono::seconds(60);
  auto got = found();
  while (!got && std::chrono::steady_clock::now() < until) {
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
    got = found();
  }
  return got;
}

HWND MainWindow() {
  return WaitFor([] {
    HWND w = ::FindWindowW(L"Tarnwell.MainWindow", nullptr);
    return w && ::IsWindowVisible(w) ? w : nullptr;
  });
}

HWND ControlOf(const std::string& name) {
  HWND main = MainWindow();
  if (!main) return nullptr;
  for (const MainControlDesign& d : MainDesign()) {
    if (name != d.name) continue;
    HWND parent =
        d.inWeighBox ? ::GetDlgItem(main, kFirstControlId + int(MainControl::kWeighBox)) : main;
    return ::GetDlgItem(parent, kFirstControlId + static_cast<int>(d.control));
  }
  return nullptr;
}

// A shown button of that caption in a shown dialog of the program.
HWND DialogButton(const std::string& caption) {
  HWND main = MainWindow();
  if (!main) return nullptr;
  DWORD program = 0;
  ::GetWindowThreadProcessId(main, &program);
  const std::wstring wide = Widen(caption);
  return WaitFor([&]() -> HWND {
    for (HWND top = nullptr; (top = ::FindWindowExW(nullptr, top, L"#32770", nullptr));) {
      DWORD process = 0;
      ::GetWindowThreadProcessId(top, &process);
      HWND button = ::FindWindowExW(top, nullptr, L"Button", wide.c_str());
      if (process == program && ::IsWindowVisible(top) && button && ::IsWindowVisible(button))
        return button;
    }
    return nullptr;
  });
}

int Run(int argc, char** argv) {
  if (argc != 3) return 2;
  const std::string step = argv[1], what = argv[2];
  HWND target = step == "press" ? DialogButton(what) : ControlOf(what);
  if (!target) {
    std::fprintf(stderr, "operator: no %s\n", what.c_str());
    return 1;
  }
  if (step == "checked") {
    std::printf("%d\n", ::SendMessageW(target, BM_GETCHECK, 0, 0) == BST_CHECKED ? 1 : 0);
    return 0;
  }
  ::SendMessageW(target, BM_CLICK, 0, 0);
  return 0;
}

}  // namespace
}  // namespace tarnwell

int main(int argc, char** argv) { return tarnwell::Run(argc, argv); }
