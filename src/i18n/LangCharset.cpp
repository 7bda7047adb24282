// SPDX-License-Identifier: GPL-3.0-or-later
#include "i18n/LangCharset.h"

namespace tarnwell {

int LangCharsetFromText(std::string_view text1) {
  if (text1 == "162") return 162;
  if (text1 == "161") return 161;
  if (text1 == "178") return 178;
  if (text1 == "204") return 204;
  return 0;
}

int CodePageOfCharset(int charset) {
  switch (charset) {
    case 162:
      return 1254;
    case 161:
      return 1253;
    case 178:
      return 1256;
    case 204:
      return 1251;
    default:
      return 1252;
  }
}

}  // namespace tarnwell
