// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>
#include <windows.h>
// Needs windows.h before it.
#include <commctrl.h>

#include <string>
#include <vector>

#include "Win32TestSupport.h"
#include "i18n/win32/Win32Fonts.h"
#include "i18n/win32/Win32FormTexts.h"
#include "i18n/win32/Win32ToolTips.h"
#include "platform/win32/Utf16.h"

namespace tarnwell::testing {
namespace {

std::wstring Entries(HWND list) {
  std::wstring out;
  for (int i = 0; i < ::SendMessageW(list, CB_GETCOUNT, 0, 0); ++i) {
    wchar_t entry[64] = {};
    ::SendMessageW(list, CB_GETLBTEXT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(entry));
    out += std::wstring(entry) + L" ";
  }
  return out + std::to_wstring(::SendMessageW(list, CB_GETCURSEL, 0, 0));
}

// Real controls with odd text indices: each takes what it has room for, by its kind; a picture
// keeps its picture, an edit box takes only a tip, a list of one entry keeps it, an index whose
// caption is out of range keeps the caption and takes its tip, an empty tip shows none. UTF-8
// texts arrive as UTF-16, every control's font is made again in the character set, keeping its
// face and size, and the tip of a frame in a frame is the inner one's over the inner one.
TEST(Win32FormTexts, EveryControlTakesWhatItCanInItsCharacterSet) {
  HWND window = ::CreateWindowExW(0, L"Static", L"design", WS_OVERLAPPEDWINDOW, 0, 0, 400, 400,
                                  nullptr, nullptr, nullptr, nullptr);
  const auto make = [&](const wchar_t* kind, const wchar_t* text, DWORD style, int top,
                        std::optional<int> index, int height = 20) {
    HWND w = ::CreateWindowExW(0, kind, text, WS_CHILD | WS_VISIBLE | style, 10, top, 180, height,
                               window, nullptr, nullptr, nullptr);
    SetTextIndex(w, index);
    return w;
  };
  HWND outer = make(L"Button", L"design", BS_GROUPBOX, 200, 8, 190);
  HWND inner = make(L"Button", L"design", BS_GROUPBOX, 250, 31, 100);
  ::MoveWindow(inner, 20, 250, 100, 100, FALSE);
  HWND list = make(L"ComboBox", L"", CBS_DROPDOWNLIST, 0, 56, 100);
  HWND single = make(L"ComboBox", L"", CBS_DROPDOWNLIST, 25, 57, 100);
  HWND picture = make(L"Static", L"", SS_ICON, 50, 41);
  HWND label = make(L"Static", L"design", SS_NOTIFY, 75, 52);
  HWND edit = make(L"Edit", L"typed", 0, 100, 41);
  HWND button = make(L"Button", L"design", BS_PUSHBUTTON, 125, 900);
  HWND plain = make(L"Static", L"design", 0, 150, std::nullopt);
  HWND check = make(L"Button", L"design", BS_AUTOCHECKBOX, 175, 38);
  for (const wchar_t* e : {L"a", L"b", L"c"})
    ::SendMessageW(list, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(e));
  ::SendMessageW(list, CB_SETCURSEL, 1, 0);
  ::SendMessageW(single, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(L"only"));
  HICON icon = ::LoadIconW(nullptr, IDI_INFORMATION);
  ::SendMessageW(picture, STM_SETICON, reinterpret_cast<WPARAM>(icon), 0);
  const HFONT tahoma = Win32Fonts::Get(L"Tahoma", 8, 96, 0);
  for (HWND w : {label, edit, button})
    ::SendMessageW(w, WM_SETFONT, reinterpret_cast<WPARAM>(tahoma), FALSE);
  Win32ToolTips::Set(edit, L"design tip");
  Win32ToolTips::Set(check, L"design tip");
  SetTextIndex(window, 7);

  LangTable texts;
  for (int k = 0; k <= 1000; ++k) texts.Set(k, k == 138 ? "" : "T" + std::to_string(k));
  texts.Set(252, "\xD0\x92\xD0\xB5\xD1\x81");  // Cyrillic
  ApplyFormTextsTo(window, texts, 204);

  EXPECT_EQ(WideTextOf(window), L"T207");
  EXPECT_EQ(Entries(list), L"T256 T257 T258 1");
  EXPECT_EQ(Entries(single), L"only -1");
  EXPECT_EQ(reinterpret_cast<HICON>(::SendMessageW(picture, STM_GETICON, 0, 0)), icon);
  std::vector<std::wstring> shown;
  for (HWND w : {outer, inner, picture, label, edit, button, plain, check})
    shown.push_back(WideTextOf(w) + L" | " + Win32ToolTips::Get(w));
  EXPECT_EQ(shown, (std::vector<std::wstring>{L"T208 | T108", L"T231 | T131", L" | T141",
                                              L"\u0412\u0435\u0441 | T152", L"typed | T141",
                                              L"design | T1000", L"design | ", L"T238 | "}));
  for (HWND w :
       {outer, inner, list, single, label, edit, button, plain, check}) {  // a picture has no font
    const LOGFONTW font =
        Win32Fonts::Describe(reinterpret_cast<HFONT>(::SendMessageW(w, WM_GETFONT, 0, 0)));
    EXPECT_EQ(font.lfCharSet, 204);
    if (w == label || w == edit || w == button) {
      EXPECT_EQ(std::wstring(font.lfFaceName) + L" " + std::to_wstring(font.lfHeight),
                L"Tahoma -11");
    }
  }
  const auto tipAt = [&](POINT at) {
    TTHITTESTINFOW hit{window, at, {}};
    hit.ti.cbSize = TTTOOLINFOW_V2_SIZE;
    ::SendMessageW(Win32ToolTips::Of(window), TTM_HITTESTW, 0, reinterpret_cast<LPARAM>(&hit));
    return reinterpret_cast<HWND>(hit.ti.uId);
  };
  EXPECT_EQ(std::pair(tipAt({50, 300}), tipAt({150, 300})), std::pair(inner, outer));
  ::DestroyWindow(window);
}

}  // namespace
}  // namespace tarnwell::testing
