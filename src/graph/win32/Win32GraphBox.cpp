// SPDX-License-Identifier: GPL-3.0-or-later
#include "graph/win32/Win32GraphBox.h"

#include <windowsx.h>

#include <algorithm>
#include <cmath>

#include "graph/GraphController.h"
#include "platform/win32/Utf16.h"

namespace tarnwell {
namespace {

constexpr wchar_t kClassName[] = L"Tarnwell.GraphBox";

COLORREF ToColorRef(DrawColor c) { return RGB(c.red, c.green, c.blue); }

int Round(double v) { return static_cast<int>(std::lround(std::clamp(v, -1e6, 1e6))); }

void RegisterClassOnce() {
  static const bool registered = [] {
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof wc;
    // A double click is one event of its own; the pointer is the parent's to choose.
    wc.style = CS_DBLCLKS;
    wc.lpfnWndProc = ::DefWindowProcW;
    wc.hInstance = ::GetModuleHandleW(nullptr);
    wc.lpszClassName = kClassName;
    return ::RegisterClassExW(&wc) != 0;
  }();
  (void)registered;
}

}  // namespace

Win32GraphBox::Win32GraphBox(HWND parent, int id, const Twips& twips) : twips_(twips) {
  RegisterClassOnce();
  window_ = ::CreateWindowExW(0, kClassName, L"", WS_CHILD | WS_VISIBLE, 0, 0, 0, 0, parent,
                              reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                              ::GetModuleHandleW(nullptr), nullptr);
  ::SetWindowLongPtrW(window_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
  ::SetWindowLongPtrW(window_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&Procedure));
  UpdateSizes();
}

Win32GraphBox::~Win32GraphBox() {
  if (memory_) {
    ::SelectObject(memory_, oldBitmap_);
    ::DeleteDC(memory_);
  }
  if (bitmap_) ::DeleteObject(bitmap_);
  for (const auto& [key, font] : fonts_) ::DeleteObject(font);
  ::SetWindowLongPtrW(window_, GWLP_USERDATA, 0);
  ::DestroyWindow(window_);
}

void Win32GraphBox::UpdateSizes() {
  RECT r{};
  ::GetClientRect(window_, &r);
  const double w = twips_.FromPixels(r.right - r.left);
  const double h = twips_.FromPixels(r.bottom - r.top);
  picture_.SetSizes(w, h, w, h);
}

void Win32GraphBox::Show() {
  if (picture_.SameSteps(shown_)) return;
  shown_ = picture_;
  ::InvalidateRect(window_, nullptr, FALSE);
}

HFONT Win32GraphBox::FontFor(const DrawFont& font) {
  const auto key = std::tuple(font.name, font.points, font.bold);
  if (auto found = fonts_.find(key); found != fonts_.end()) return found->second;
  LOGFONTW lf{};
  lf.lfHeight = -Round(twips_.ToPixels((font.points > 0 ? font.points : 8) * 20));
  lf.lfWeight = font.bold ? FW_BOLD : FW_NORMAL;
  lf.lfCharSet = DEFAULT_CHARSET;
  lf.lfQuality = DEFAULT_QUALITY;
  // Where the named face is missing, the closest sans-serif face stands in.
  lf.lfPitchAndFamily = VARIABLE_PITCH | FF_SWISS;
  const std::wstring name = Widen(font.name).substr(0, LF_FACESIZE - 1);
  std::copy(name.begin(), name.end(), lf.lfFaceName);
  HFONT made = ::CreateFontIndirectW(&lf);
  fonts_[key] = made;
  return made;
}

void Win32GraphBox::PaintOn(HDC dc, int width, int height) {
  const double scale = twips_.ToPixels(1);
  PlanPicture(picture_, scale, width, height, 1, plan_);
  const RECT all{0, 0, width, height};
  ::SetBkMode(dc, TRANSPARENT);
  HGDIOBJ oldBrush = ::SelectObject(dc, ::GetStockObject(DC_BRUSH));
  HGDIOBJ oldFont = nullptr;
  for (const PaintStep& step : plan_.steps) {
    switch (step.kind) {
      case PaintStep::Kind::kClearAll:
        ::SetDCBrushColor(dc, ToColorRef(step.color));
        ::FillRect(dc, &all, static_cast<HBRUSH>(::GetStockObject(DC_BRUSH)));
        break;
      case PaintStep::Kind::kFillRects: {
        ::SetDCBrushColor(dc, ToColorRef(step.color));
        const auto left = [&step](int column) { return Round(column * step.across); };
        for (std::size_t i = step.first; i < step.first + step.count; ++i) {
          const PixelRect& p = plan_.rects[i];
          const RECT r{left(p.x), p.y, left(p.x + p.width), p.y + p.height};
          ::FillRect(dc, &r, static_cast<HBRUSH>(::GetStockObject(DC_BRUSH)));
        }
        break;
      }
      case PaintStep::Kind::kLines: {
        HPEN pen = ::CreatePen(PS_SOLID, step.penWidth, ToColorRef(step.color));
        HGDIOBJ oldPen = ::SelectObject(dc, pen);
        for (std::size_t i = step.first; i < step.first + step.count; ++i) {
          const PixelSegment& s = plan_.segments[i];
          const int x1 = Round(std::floor(s.from.x)), y1 = Round(std::floor(s.from.y));
          const int x2 = Round(std::floor(s.to.x)), y2 = Round(std::floor(s.to.y));
          ::MoveToEx(dc, x1, y1, nullptr);
          ::LineTo(dc, x2, y2);
          // GDI leaves out a line's last pixel; the picture's lines end on theirs.
          if (step.penWidth <= 1) ::SetPixelV(dc, x2, y2, ToColorRef(step.color));
        }
        ::SelectObject(dc, oldPen);
        ::DeleteObject(pen);
        break;
      }
      case PaintStep::Kind::kText: {
        DrawOp numbered;
        numbered.text = static_cast<std::uint32_t>(step.first);
        const DrawText& text = picture_.TextOf(numbered);
        HGDIOBJ was = ::SelectObject(dc, FontFor(text.font));
        if (!oldFont) oldFont = was;
        ::SetTextColor(dc, ToColorRef(step.color));
        const std::wstring wide = Widen(text.text);
        ::TextOutW(dc, Round(step.x), Round(step.y), wide.c_str(), static_cast<int>(wide.size()));
        break;
      }
    }
  }
  if (oldFont) ::SelectObject(dc, oldFont);
  ::SelectObject(dc, oldBrush);
}

void Win32GraphBox::Paint() {
  PAINTSTRUCT ps;
  HDC dc = ::BeginPaint(window_, &ps);
  RECT r{};
  ::GetClientRect(window_, &r);
  const SIZE size{r.right, r.bottom};
  if (size.cx > 0 && size.cy > 0) {
    if (!memory_ || size.cx != bitmapSize_.cx || size.cy != bitmapSize_.cy) {
      if (!memory_) {
        memory_ = ::CreateCompatibleDC(dc);
      } else {
        ::SelectObject(memory_, oldBitmap_);
        ::DeleteObject(bitmap_);
      }
      bitmap_ = ::CreateCompatibleBitmap(dc, size.cx, size.cy);
      oldBitmap_ = ::SelectObject(memory_, bitmap_);
      bitmapSize_ = size;
    }
    PaintOn(memory_, size.cx, size.cy);
    ::BitBlt(dc, 0, 0, size.cx, size.cy, memory_, 0, 0, SRCCOPY);
  }
  ::EndPaint(window_, &ps);
}

LRESULT CALLBACK Win32GraphBox::Procedure(HWND window, UINT message, WPARAM w, LPARAM l) {
  auto* self = reinterpret_cast<Win32GraphBox*>(::GetWindowLongPtrW(window, GWLP_USERDATA));
  if (!self) return ::DefWindowProcW(window, message, w, l);
  return self->Handle(message, w, l);
}

LRESULT Win32GraphBox::Handle(UINT message, WPARAM w, LPARAM l) {
  const double x = twips_.FromPixels(GET_X_LPARAM(l)), y = twips_.FromPixels(GET_Y_LPARAM(l));
  switch (message) {
    case WM_ERASEBKGND:
      return 1;
    case WM_PAINT:
      Paint();
      return 0;
    case WM_SIZE:
      UpdateSizes();
      return 0;
    case WM_MOUSEMOVE:
      if (onMove_) onMove_(x, y);
      return 0;
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN: {
      const MouseButton button = message == WM_LBUTTONDOWN   ? kLeftButton
                                 : message == WM_RBUTTONDOWN ? kRightButton
                                                             : kMiddleButton;
      if (onDown_) onDown_(button, x, y);
      return 0;
    }
    // The second press of a double click is the double click only, not another press.
    case WM_LBUTTONDBLCLK:
      if (onDoubleClick_) onDoubleClick_();
      return 0;
    default:
      return ::DefWindowProcW(window_, message, w, l);
  }
}

}  // namespace tarnwell
