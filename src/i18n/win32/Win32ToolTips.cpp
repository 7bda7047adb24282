// SPDX-License-Identifier: GPL-3.0-or-later
#include "i18n/win32/Win32ToolTips.h"

#include <commctrl.h>

#include <array>
#include <cwchar>
#include <vector>

namespace tarnwell {
namespace {

ATOM TipsProperty() {
  static const ATOM atom = ::GlobalAddAtomW(L"Tarnwell.ToolTips");
  return atom;
}

// What the tool tip control reads a tip into: its own limit.
using TipBuffer = std::array<wchar_t, Win32ToolTips::kMostChars + 1>;

// Group boxes, and labels that do not notify, let the mouse through to their parent: their tip
// is one of the parent's areas.
bool LetsTheMouseThrough(HWND control) {
  wchar_t kind[16] = {};
  ::GetClassNameW(control, kind, 16);
  const LONG_PTR style = ::GetWindowLongPtrW(control, GWL_STYLE);
  if (::_wcsicmp(kind, L"Button") == 0) return (style & BS_TYPEMASK) == BS_GROUPBOX;
  if (::_wcsicmp(kind, L"Static") == 0) return (style & SS_NOTIFY) == 0;
  return false;
}

TOOLINFOW ToolOf(HWND control) {
  TOOLINFOW tool{};
  tool.cbSize = TTTOOLINFOW_V2_SIZE;
  HWND parent = ::GetAncestor(control, GA_PARENT);
  tool.hwnd = parent != nullptr && parent != ::GetDesktopWindow() ? parent : control;
  tool.uId = reinterpret_cast<UINT_PTR>(control);
  return tool;
}

long long Area(const RECT& r) {
  return static_cast<long long>(r.right - r.left) * (r.bottom - r.top);
}

}  // namespace

HWND Win32ToolTips::Of(HWND control) {
  HWND root = ::GetAncestor(control, GA_ROOT);
  if (root == nullptr) root = control;
  auto* tips = static_cast<HWND>(::GetPropW(root, MAKEINTATOM(TipsProperty())));
  if (tips != nullptr && ::IsWindow(tips)) return tips;
  static const bool initialised = [] {
    INITCOMMONCONTROLSEX classes{sizeof classes, ICC_WIN95_CLASSES};
    return ::InitCommonControlsEx(&classes) != FALSE;
  }();
  (void)initialised;
  // Owned by the window, it goes when the window goes.
  tips = ::CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr,
                           WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX, CW_USEDEFAULT, CW_USEDEFAULT,
                           CW_USEDEFAULT, CW_USEDEFAULT, root, nullptr, ::GetModuleHandleW(nullptr),
                           nullptr);
  const UINT dpi = ::GetDpiForWindow(root);
  // A width makes long tips wrap and lets "\n" break a line.
  ::SendMessageW(tips, TTM_SETMAXTIPWIDTH, 0,
                 ::MulDiv(400, dpi != 0 ? static_cast<int>(dpi) : 96, 96));
  // The design's tips are sentences: time to read them.
  ::SendMessageW(tips, TTM_SETDELAYTIME, TTDT_AUTOPOP, 30000);
  ::SetPropW(root, MAKEINTATOM(TipsProperty()), tips);
  return tips;
}

void Win32ToolTips::Set(HWND control, const std::wstring& text) {
  HWND tips = Of(control);
  TOOLINFOW tool = ToolOf(control);
  ::SendMessageW(tips, TTM_DELTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
  if (!text.empty()) Add(tips, control, text.substr(0, kMostChars).c_str());
}

void Win32ToolTips::SetAsked(HWND control) {
  HWND tips = Of(control);
  TOOLINFOW tool = ToolOf(control);
  ::SendMessageW(tips, TTM_DELTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
  tool.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
  tool.lpszText = LPSTR_TEXTCALLBACKW;
  ::SendMessageW(tips, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
}

std::wstring Win32ToolTips::Get(HWND control) {
  TOOLINFOW tool = ToolOf(control);
  TipBuffer text{};
  tool.lpszText = text.data();
  ::SendMessageW(Of(control), TTM_GETTEXTW, text.size(), reinterpret_cast<LPARAM>(&tool));
  return text.data();
}

void Win32ToolTips::Add(HWND tips, HWND control, const wchar_t* text) {
  TOOLINFOW tool = ToolOf(control);
  tool.lpszText = const_cast<wchar_t*>(text);
  if (!LetsTheMouseThrough(control) || tool.hwnd == control) {
    tool.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
    ::SendMessageW(tips, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
    return;
  }
  tool.uFlags = TTF_SUBCLASS;
  ::GetWindowRect(control, &tool.rect);
  ::MapWindowPoints(nullptr, tool.hwnd, reinterpret_cast<POINT*>(&tool.rect), 2);
  // The tool tip control takes the first area the mouse is in: the larger ones of the same
  // window go after this one, so an inner frame shows its own tip.
  struct Moved {
    TOOLINFOW tool;
    TipBuffer text;
  };
  std::vector<Moved> larger;
  const auto count = static_cast<UINT>(::SendMessageW(tips, TTM_GETTOOLCOUNT, 0, 0));
  for (UINT i = 0; i < count; ++i) {
    TOOLINFOW other{};
    other.cbSize = TTTOOLINFOW_V2_SIZE;
    if (!::SendMessageW(tips, TTM_ENUMTOOLSW, i, reinterpret_cast<LPARAM>(&other))) continue;
    if ((other.uFlags & TTF_IDISHWND) || other.hwnd != tool.hwnd) continue;
    if (Area(other.rect) <= Area(tool.rect)) continue;
    Moved& moved = larger.emplace_back(Moved{other, {}});
    moved.tool.lpszText = moved.text.data();
    ::SendMessageW(tips, TTM_GETTEXTW, moved.text.size(), reinterpret_cast<LPARAM>(&moved.tool));
  }
  for (Moved& m : larger) ::SendMessageW(tips, TTM_DELTOOLW, 0, reinterpret_cast<LPARAM>(&m.tool));
  ::SendMessageW(tips, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
  for (Moved& m : larger) {
    m.tool.lpszText = m.text.data();
    ::SendMessageW(tips, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&m.tool));
  }
}

}  // namespace tarnwell
