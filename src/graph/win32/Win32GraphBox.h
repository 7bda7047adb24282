// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <windows.h>

#include <functional>
#include <map>
#include <tuple>

#include "graph/MouseButton.h"
#include "graph/PicturePlan.h"
#include "platform/DrawList.h"
#include "platform/Twips.h"

namespace tarnwell {

// A picture box as a child window: holds the latest picture drawn on Picture() and paints it
// whole with GDI, scaled from twips to pixels, through a bitmap of its own so that it never
// flickers. Pointer events are passed on in twips, with the buttons numbered as GraphController
// knows them.
class Win32GraphBox {
 public:
  Win32GraphBox(HWND parent, int id, const Twips& twips);
  ~Win32GraphBox();
  Win32GraphBox(const Win32GraphBox&) = delete;
  Win32GraphBox& operator=(const Win32GraphBox&) = delete;

  HWND Handle() const { return window_; }
  // Draw on it, then call Show() to show it. Its sizes follow the window's client area.
  DrawList& Picture() {
    UpdateSizes();
    return picture_;
  }
  const DrawList& Picture() const { return picture_; }
  // Repaints with the picture drawn since, unless it is the one on screen already.
  void Show();
  // Paints the picture on `dc`, `width` by `height` pixels, as the window paints itself.
  void PaintOn(HDC dc, int width, int height);

  void SetMouseMoveHandler(std::function<void(double x, double y)> handler) {
    onMove_ = std::move(handler);
  }
  void SetMouseDownHandler(std::function<void(MouseButton button, double x, double y)> handler) {
    onDown_ = std::move(handler);
  }
  void SetDoubleClickHandler(std::function<void()> handler) { onDoubleClick_ = std::move(handler); }

 private:
  static LRESULT CALLBACK Procedure(HWND window, UINT message, WPARAM w, LPARAM l);
  LRESULT Handle(UINT message, WPARAM w, LPARAM l);
  void UpdateSizes();
  void Paint();
  HFONT FontFor(const DrawFont& font);

  HWND window_ = nullptr;
  Twips twips_;
  DrawList picture_;
  DrawList shown_;
  PicturePlan plan_;
  // The bitmap painted on first, as large as the window.
  HDC memory_ = nullptr;
  HBITMAP bitmap_ = nullptr;
  HGDIOBJ oldBitmap_ = nullptr;
  SIZE bitmapSize_{0, 0};
  std::map<std::tuple<std::string, double, bool>, HFONT> fonts_;
  std::function<void(double, double)> onMove_;
  std::function<void(MouseButton, double, double)> onDown_;
  std::function<void()> onDoubleClick_;
};

}  // namespace tarnwell
