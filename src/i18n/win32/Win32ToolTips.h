// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <windows.h>

#include <string>

namespace tarnwell {

// The tool tips of a window's controls, through one tool tip control of the common controls per
// top-level window, made when the first tip is set. A frame, or a label the mouse goes through,
// shows its tip over its own area; where frames lie in frames, the innermost one's. A tip longer
// than kMostChars is cut there. User-interface thread only.
class Win32ToolTips {
 public:
  static constexpr std::size_t kMostChars = 1023;

  // Shows `text` as the tip of `control`; an empty text shows none.
  static void Set(HWND control, const std::wstring& text);
  // The tip of `control` is asked of its parent when it is about to show, through WM_NOTIFY
  // TTN_GETDISPINFOW (with the control as idFrom), so it can tell what is there now.
  static void SetAsked(HWND control);
  // The tip `control` shows (asked for where it is asked); empty for none.
  static std::wstring Get(HWND control);
  // The tool tip control of the top-level window holding `control`.
  static HWND Of(HWND control);

 private:
  static void Add(HWND tips, HWND control, const wchar_t* text);
};

}  // namespace tarnwell
