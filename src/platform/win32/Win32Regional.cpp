// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/win32/Win32Regional.h"

#include <windows.h>

#include "platform/win32/Utf16.h"

namespace tarnwell {
namespace {

Regional RegionalOf(const wchar_t* locale) {
  Regional r;
  wchar_t text[8];
  // The counts include the closing null.
  if (::GetLocaleInfoEx(locale, LOCALE_SDECIMAL, text, 8) == 2 && text[0] < 128) {
    r.decimal = static_cast<char>(text[0]);
  }
  if (::GetLocaleInfoEx(locale, LOCALE_SDATE, text, 8) >= 2 && text[0] < 128 && text[0] != L' ') {
    r.dateSeparator = static_cast<char>(text[0]);
  }
  return r;
}

}  // namespace

Regional SystemRegional() { return RegionalOf(LOCALE_NAME_USER_DEFAULT); }

Regional RegionalOfLocale(const std::string& localeName) {
  return RegionalOf(Widen(localeName).c_str());
}

}  // namespace tarnwell
