// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <windows.h>

#include <array>
#include <functional>
#include <memory>
#include <string>

#include "app/MainDesign.h"
#include "graph/win32/Win32GraphBox.h"
#include "platform/Twips.h"

namespace tarnwell {

// The main window's controls, made from its design: the picture boxes, labels, the value panel
// with the reading, the Stop box and the picture buttons, their fonts in the language's
// character set (given with the texts, i18n/win32), and what the window draws itself (the
// reading, the logo).
class Win32MainControls {
 public:
  // `zoomPressed` gets the button numbers of presses on the zoom button.
  Win32MainControls(HWND window, const Twips& twips, std::function<void(MouseButton)> zoomPressed);
  ~Win32MainControls();
  Win32MainControls(const Win32MainControls&) = delete;
  Win32MainControls& operator=(const Win32MainControls&) = delete;

  HWND Control(MainControl control) const { return handles_[static_cast<std::size_t>(control)]; }
  Win32GraphBox& Graph() { return *graph_; }
  Win32GraphBox& XaxisTop() { return *xaxisTop_; }
  Win32GraphBox& TestPic() { return *testPic_; }
  // The font the control has now, in the language's character set once the texts are given.
  HFONT FontOf(MainControl control) const;
  std::string ToolTipOf(MainControl control) const;
  HBRUSH Background() const { return background_; }

  // Twips in the control's container.
  void Place(MainControl control, double left, double top, double width, double height);
  void MoveTop(MainControl control, double top);
  void SetText(MainControl control, const std::string& text);
  // Draws an owner-drawn control: the reading `current` in `color` at its bottom right, or
  // the logo.
  void DrawItem(const DRAWITEMSTRUCT& item, const std::string& current, Rgb color) const;

 private:
  static LRESULT CALLBACK PanelProcedure(HWND window, UINT message, WPARAM w, LPARAM l);
  static LRESULT CALLBACK ZoomProcedure(HWND window, UINT message, WPARAM w, LPARAM l, UINT_PTR id,
                                        DWORD_PTR self);
  void Make(const MainControlDesign& design, HWND window);

  Twips twips_;
  std::function<void(MouseButton)> zoomPressed_;
  HBRUSH background_ = nullptr;
  HBITMAP logo_ = nullptr;
  std::array<HBITMAP, 2> buttonPictures_{};
  std::array<HWND, 11> handles_{};
  std::unique_ptr<Win32GraphBox> graph_, xaxisTop_, testPic_;
};

}  // namespace tarnwell
