// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/win32/Win32MainControls.h"

#include <commctrl.h>
#include <uxtheme.h>

#include <algorithm>

#include "graph/GraphController.h"
#include "i18n/win32/Win32Fonts.h"
#include "i18n/win32/Win32FormTexts.h"
#include "i18n/win32/Win32ToolTips.h"
#include "platform/win32/Utf16.h"

namespace tarnwell {
namespace {

constexpr wchar_t kPanelClass[] = L"Tarnwell.Panel";
constexpr int kFirstControlId = 100;

COLORREF ToColorRef(Rgb c) { return RGB(c.red, c.green, c.blue); }

// Fonts are kept for the whole run (Win32Fonts): a control never holds one deleted under it.
HFONT FontOf(const Twips& twips, double points, bool bold, int charset) {
  return Win32Fonts::Get(Widen(kMainFontFace), static_cast<int>(points),
                         static_cast<int>(twips.dpi), charset, bold);
}

}  // namespace

Win32MainControls::Win32MainControls(HWND window, const Twips& twips,
                                     std::function<void(MouseButton)> zoomPressed)
    : twips_(twips), zoomPressed_(std::move(zoomPressed)) {
  static const bool registered = [] {
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_WIN95_CLASSES | ICC_STANDARD_CLASSES};
    ::InitCommonControlsEx(&controls);
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof wc;
    wc.lpfnWndProc = &PanelProcedure;
    wc.hInstance = ::GetModuleHandleW(nullptr);
    wc.hCursor = ::LoadCursorW(nullptr, IDC_ARROW);
    wc.lpszClassName = kPanelClass;
    return ::RegisterClassExW(&wc) != 0;
  }();
  (void)registered;
  background_ = ::CreateSolidBrush(ToColorRef(kMainBackground));
  logo_ = static_cast<HBITMAP>(
      ::LoadImageW(::GetModuleHandleW(nullptr), L"LOGO", IMAGE_BITMAP, 0, 0, 0));
  for (const MainControlDesign& d : MainDesign()) Make(d, window);
  for (const MainControlDesign& d : MainDesign()) {
    const double points = d.fontPoints > 0 ? d.fontPoints : 8;
    ::SendMessageW(Control(d.control), WM_SETFONT,
                   reinterpret_cast<WPARAM>(tarnwell::FontOf(twips_, points, d.bold, 0)), TRUE);
    if (*d.textIndex) SetTextIndex(Control(d.control), std::stoi(d.textIndex));
    if (*d.toolTip) Win32ToolTips::Set(Control(d.control), Widen(d.toolTip));
  }
}

Win32MainControls::~Win32MainControls() {
  graph_.reset(), xaxisTop_.reset(), testPic_.reset();
  for (HGDIOBJ o :
       {static_cast<HGDIOBJ>(background_), static_cast<HGDIOBJ>(logo_),
        static_cast<HGDIOBJ>(buttonPictures_[0]), static_cast<HGDIOBJ>(buttonPictures_[1])}) {
    if (o) ::DeleteObject(o);
  }
}

void Win32MainControls::Make(const MainControlDesign& d, HWND window) {
  HINSTANCE instance = ::GetModuleHandleW(nullptr);
  const auto i = static_cast<std::size_t>(d.control);
  const int id = kFirstControlId + static_cast<int>(i);
  HWND parent = d.inWeighBox ? Control(MainControl::kWeighBox) : window;
  const DWORD child = WS_CHILD | WS_CLIPSIBLINGS | (d.shown ? WS_VISIBLE : 0);
  const auto make = [&](const wchar_t* cls, DWORD style, const char* text = "") {
    return ::CreateWindowExW(0, cls, Widen(text).c_str(), child | style, 0, 0, 0, 0, parent,
                             reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), instance, nullptr);
  };
  switch (d.kind) {
    case MainControlKind::kPicture: {
      auto box = std::make_unique<Win32GraphBox>(parent, id, twips_);
      handles_[i] = box->Handle();
      (d.control == MainControl::kGraph      ? graph_
       : d.control == MainControl::kXaxisTop ? xaxisTop_
                                             : testPic_) = std::move(box);
      break;
    }
    case MainControlKind::kLabel:
      // The reading is drawn by the window: its digits sit at the label's bottom right.
      handles_[i] = make(
          L"STATIC",
          SS_NOTIFY | SS_NOPREFIX | (d.control == MainControl::kCurrent ? SS_OWNERDRAW : SS_LEFT),
          d.caption);
      break;
    case MainControlKind::kLogo:
      handles_[i] = make(L"STATIC", SS_OWNERDRAW);
      break;
    case MainControlKind::kPanel:
      handles_[i] = make(kPanelClass, WS_CLIPCHILDREN);
      break;
    case MainControlKind::kCheckBox:
      handles_[i] = make(L"BUTTON", BS_AUTOCHECKBOX | WS_TABSTOP, d.caption);
      // A themed check box draws its text in the theme's colour, unreadable on the dark panel.
      ::SetWindowTheme(handles_[i], L"", L"");
      break;
    case MainControlKind::kPictureButton: {
      handles_[i] = make(L"BUTTON", BS_PUSHBUTTON | BS_BITMAP);
      const bool zoom = d.control == MainControl::kCmdZoomIn;
      // The picture takes the whole face but for the border.
      const int w = std::max(1, twips_.WholePixels(d.width) - 2);
      const int h = std::max(1, twips_.WholePixels(d.height) - 2);
      HBITMAP& picture = buttonPictures_[zoom ? 0 : 1];
      picture = static_cast<HBITMAP>(
          ::LoadImageW(instance, zoom ? L"ZOOM" : L"SETUP", IMAGE_BITMAP, w, h, 0));
      ::SendMessageW(handles_[i], BM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(picture));
      if (zoom)
        ::SetWindowSubclass(handles_[i], &ZoomProcedure, 1, reinterpret_cast<DWORD_PTR>(this));
      break;
    }
  }
  Place(d.control, d.left, d.top, d.width, d.height);
}

HFONT Win32MainControls::FontOf(MainControl control) const {
  return reinterpret_cast<HFONT>(::SendMessageW(Control(control), WM_GETFONT, 0, 0));
}

std::string Win32MainControls::ToolTipOf(MainControl control) const {
  return Narrow(Win32ToolTips::Get(Control(control)));
}

void Win32MainControls::Place(MainControl control, double left, double top, double width,
                              double height) {
  ::SetWindowPos(Control(control), nullptr, twips_.WholePixels(left), twips_.WholePixels(top),
                 std::max(0, twips_.WholePixels(width)), std::max(0, twips_.WholePixels(height)),
                 SWP_NOZORDER | SWP_NOACTIVATE);
}

void Win32MainControls::MoveTop(MainControl control, double top) {
  HWND w = Control(control);
  RECT r{};
  ::GetWindowRect(w, &r);
  ::MapWindowPoints(nullptr, ::GetParent(w), reinterpret_cast<POINT*>(&r), 2);
  const int y = twips_.WholePixels(top);
  if (r.top == y) return;
  ::SetWindowPos(w, nullptr, r.left, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void Win32MainControls::SetText(MainControl control, const std::string& text) {
  const std::wstring wide = Widen(text);
  wchar_t shown[256] = L"";
  ::GetWindowTextW(Control(control), shown, 256);
  if (wide != shown) ::SetWindowTextW(Control(control), wide.c_str());
}

void Win32MainControls::DrawItem(const DRAWITEMSTRUCT& item, const std::string& current,
                                 Rgb color) const {
  const RECT& r = item.rcItem;
  const int width = r.right - r.left, height = r.bottom - r.top;
  if (width <= 0 || height <= 0) return;
  // Drawn on a bitmap first, so that the reading never flickers as it changes.
  HDC dc = ::CreateCompatibleDC(item.hDC);
  HBITMAP bitmap = ::CreateCompatibleBitmap(item.hDC, width, height);
  HGDIOBJ oldBitmap = ::SelectObject(dc, bitmap);
  const RECT all{0, 0, width, height};
  ::FillRect(dc, &all, background_);
  if (item.hwndItem == Control(MainControl::kCurrent)) {
    HGDIOBJ oldFont = ::SelectObject(dc, FontOf(MainControl::kCurrent));
    ::SetBkMode(dc, TRANSPARENT);
    ::SetTextColor(dc, ToColorRef(color));
    RECT text = all;
    const std::wstring wide = Widen(current);
    ::DrawTextW(dc, wide.c_str(), static_cast<int>(wide.size()), &text,
                DT_RIGHT | DT_BOTTOM | DT_SINGLELINE | DT_NOPREFIX);
    ::SelectObject(dc, oldFont);
  } else if (logo_) {
    BITMAP b{};
    ::GetObjectW(logo_, sizeof b, &b);
    HDC picture = ::CreateCompatibleDC(item.hDC);
    HGDIOBJ oldPicture = ::SelectObject(picture, logo_);
    ::SetStretchBltMode(dc, HALFTONE);
    ::StretchBlt(dc, 0, 0, width, height, picture, 0, 0, b.bmWidth, b.bmHeight, SRCCOPY);
    ::SelectObject(picture, oldPicture);
    ::DeleteDC(picture);
  }
  ::BitBlt(item.hDC, r.left, r.top, width, height, dc, 0, 0, SRCCOPY);
  ::SelectObject(dc, oldBitmap);
  ::DeleteObject(bitmap);
  ::DeleteDC(dc);
}

// The value panel's controls speak to the main window; its background is the window's.
LRESULT CALLBACK Win32MainControls::PanelProcedure(HWND window, UINT message, WPARAM w, LPARAM l) {
  switch (message) {
    case WM_COMMAND:
    case WM_DRAWITEM:
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORBTN:
    case WM_ERASEBKGND:
      return ::SendMessageW(::GetParent(window), message, w, l);
    default:
      return ::DefWindowProcW(window, message, w, l);
  }
}

LRESULT CALLBACK Win32MainControls::ZoomProcedure(HWND window, UINT message, WPARAM w, LPARAM l,
                                                  UINT_PTR, DWORD_PTR data) {
  const auto* self = reinterpret_cast<const Win32MainControls*>(data);
  const MouseButton button = message == WM_LBUTTONDOWN   ? kLeftButton
                             : message == WM_RBUTTONDOWN ? kRightButton
                             : message == WM_MBUTTONDOWN ? kMiddleButton
                                                         : kNoButton;
  if (button != kNoButton && self->zoomPressed_) self->zoomPressed_(button);
  return ::DefSubclassProc(window, message, w, l);
}

}  // namespace tarnwell
