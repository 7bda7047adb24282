// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <windows.h>

#include <string_view>

namespace tarnwell {

// The fonts of the windows' controls. Each font is made once for its face, size, weight and
// character set and kept for the whole run, so a window opened again and again makes no more and
// no control is left with a font deleted under it. User-interface thread only.
class Win32Fonts {
 public:
  // `points` high on a screen of `dpi` dots per inch.
  static HFONT Get(std::wstring_view face, int points, int dpi, int charset, bool bold = false);
  // The same font (face, size, weight) in `charset`; the system's dialog font for none.
  static HFONT WithCharset(HFONT font, int charset);
  // What `font` is; the system's dialog font for none.
  static LOGFONTW Describe(HFONT font);

 private:
  static HFONT Make(const LOGFONTW& font);
};

}  // namespace tarnwell
