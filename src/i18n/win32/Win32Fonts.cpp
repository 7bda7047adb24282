// SPDX-License-Identifier: GPL-3.0-or-later
#include "i18n/win32/Win32Fonts.h"

#include <cwchar>
#include <map>
#include <string>
#include <tuple>

namespace tarnwell {

HFONT Win32Fonts::Get(std::wstring_view face, int points, int dpi, int charset, bool bold) {
  LOGFONTW font{};
  font.lfHeight = -::MulDiv(points, dpi, 72);
  font.lfWeight = bold ? FW_BOLD : FW_NORMAL;
  font.lfCharSet = static_cast<BYTE>(charset);
  font.lfQuality = DEFAULT_QUALITY;
  face = face.substr(0, LF_FACESIZE - 1);
  face.copy(font.lfFaceName, face.size());
  return Make(font);
}

HFONT Win32Fonts::WithCharset(HFONT font, int charset) {
  LOGFONTW described = Describe(font);
  described.lfCharSet = static_cast<BYTE>(charset);
  return Make(described);
}

LOGFONTW Win32Fonts::Describe(HFONT font) {
  LOGFONTW described{};
  if (font == nullptr || ::GetObjectW(font, sizeof described, &described) != sizeof described)
    ::GetObjectW(::GetStockObject(DEFAULT_GUI_FONT), sizeof described, &described);
  return described;
}

HFONT Win32Fonts::Make(const LOGFONTW& font) {
  using Key = std::tuple<std::wstring, LONG, LONG, BYTE, BYTE, BYTE>;
  static std::map<Key, HFONT> made;
  const Key key{font.lfFaceName, font.lfHeight,  font.lfWeight,
                font.lfItalic,   font.lfCharSet, font.lfQuality};
  auto found = made.find(key);
  if (found == made.end()) found = made.emplace(key, ::CreateFontIndirectW(&font)).first;
  return found->second;
}

}  // namespace tarnwell
