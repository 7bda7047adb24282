// SPDX-License-Identifier: GPL-3.0-or-later
// The cost of one whole tick of the trend graph on a 1920 by 1080 pixel graph painted with GDI,
// the cases of graph_tick_bench's BM_WidgetTick at dpr:1: building the picture and painting it
// on a bitmap as the picture box paints its window. Prints the microseconds of one tick, of the
// clock and of the thread's processor time (as graph_tick_bench's Time and CPU).
#include <windows.h>

#include <chrono>
#include <cstdio>

#include "GraphTickScene.h"
#include "graph/win32/Win32GraphBox.h"

namespace {

double ThreadSeconds() {
  FILETIME created, ended, kernel, user;
  ::GetThreadTimes(::GetCurrentThread(), &created, &ended, &kernel, &user);
  const auto seconds = [](FILETIME t) {
    return ((static_cast<unsigned long long>(t.dwHighDateTime) << 32) | t.dwLowDateTime) / 1e7;
  };
  return seconds(kernel) + seconds(user);
}

}  // namespace

int main() {
  using namespace tarnwell;
  HWND parent = ::CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, kWidthPx, kHeightPx, nullptr,
                                  nullptr, ::GetModuleHandleW(nullptr), nullptr);
  BITMAPINFO info{};
  info.bmiHeader = {sizeof(BITMAPINFOHEADER), kWidthPx, -kHeightPx, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
  void* bits = nullptr;
  HDC dc = ::CreateCompatibleDC(nullptr);
  HBITMAP bitmap = ::CreateDIBSection(dc, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  ::SelectObject(dc, bitmap);
  for (int samples : {100, 1000, 9999}) {
    for (int shape : {kSmooth, kJitter, kFullNoise}) {
      Tick tick(samples, shape);
      Win32GraphBox box(parent, 1, tick.twips);
      ::SetWindowPos(box.Handle(), nullptr, 0, 0, kWidthPx, kHeightPx, SWP_NOZORDER);
      GraphController view(tick.config, tick.history, box.Picture(), tick.regional, nullptr);
      const auto once = [&] {
        const GraphRange range = ComputeRange(tick.history, tick.config, tick.regional);
        TracePlot::Draw(
            PlotInputs{tick.history, tick.config, tick.format, tick.regional, range,
                       range.Max - range.Min, 9000, 4000, [&] { view.DrawGuideLines(); }},
            box.Picture(), tick.xaxis, tick.testPic);
        box.PaintOn(dc, kWidthPx, kHeightPx);
        ::GdiFlush();
      };
      for (int i = 0; i < 3; ++i) once();
      const double cpuStart = ThreadSeconds();
      const auto start = std::chrono::steady_clock::now();
      int runs = 0;
      while (std::chrono::steady_clock::now() - start < std::chrono::seconds(1) || runs < 10) {
        once();
        ++runs;
      }
      const std::chrono::duration<double, std::micro> took =
          std::chrono::steady_clock::now() - start;
      const double cpu = (ThreadSeconds() - cpuStart) * 1e6;
      std::printf("BM_GdiTick/samples:%d/shape:%d %10.0f us %10.0f us\n", samples, shape,
                  took.count() / runs, cpu / runs);
    }
  }
  ::DeleteDC(dc);
  ::DeleteObject(bitmap);
  ::DestroyWindow(parent);
  return 0;
}
