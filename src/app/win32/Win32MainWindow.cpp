// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/win32/Win32MainWindow.h"

#include <algorithm>

#include "app/Mainform.h"
#include "i18n/LangCharset.h"
#include "i18n/win32/Win32FormTexts.h"
#include "platform/win32/Utf16.h"

namespace tarnwell {
namespace {

constexpr wchar_t kWindowClass[] = L"Tarnwell.MainWindow";
COLORREF ToColorRef(Rgb c) { return RGB(c.red, c.green, c.blue); }

void RegisterClassOnce(WNDPROC procedure) {
  static const bool registered = [&] {
    HINSTANCE instance = ::GetModuleHandleW(nullptr);
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof wc;
    wc.lpfnWndProc = procedure;
    wc.hInstance = instance;
    wc.hCursor = ::LoadCursorW(nullptr, IDC_ARROW);
    // The program's icon, where the program has one.
    wc.hIcon = ::LoadIconW(instance, MAKEINTRESOURCEW(1));
    wc.lpszClassName = kWindowClass;
    return ::RegisterClassExW(&wc) != 0;
  }();
  (void)registered;
}

}  // namespace

// The window as the resize rules see it: its outer size in twips.
class Win32MainWindow::Resizable : public ResizableWindow {
 public:
  explicit Resizable(Win32MainWindow& w) : w_(w) {}
  bool Minimized() const override { return ::IsIconic(w_.window_) != FALSE; }
  double Width() const override { return w_.twips_.WholeTwips(Size().cx); }
  double Height() const override { return w_.twips_.WholeTwips(Size().cy); }
  // A maximised window keeps its size; it is larger than the minimum in practice.
  void SetWidth(double width) override { Resize(w_.twips_.WholePixels(width), Size().cy); }
  void SetHeight(double height) override { Resize(Size().cx, w_.twips_.WholePixels(height)); }

 private:
  SIZE Size() const {
    RECT r{};
    ::GetWindowRect(w_.window_, &r);
    return SIZE{r.right - r.left, r.bottom - r.top};
  }
  void Resize(int width, int height) {
    if (::IsZoomed(w_.window_)) return;
    ::SetWindowPos(w_.window_, nullptr, 0, 0, std::max(1, width), std::max(1, height),
                   SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  }
  Win32MainWindow& w_;
};

Win32MainWindow::Win32MainWindow() {
  RegisterClassOnce(&Procedure);
  if (HDC screen = ::GetDC(nullptr)) {
    twips_.dpi = ::GetDeviceCaps(screen, LOGPIXELSY);
    ::ReleaseDC(nullptr, screen);
  }
  RECT outer{0, 0, twips_.WholePixels(kMainClientWidth), twips_.WholePixels(kMainClientHeight)};
  ::AdjustWindowRectEx(&outer, WS_OVERLAPPEDWINDOW, FALSE, 0);
  window_ = ::CreateWindowExW(0, kWindowClass, Widen(kDesignCaption).c_str(),
                              WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN, CW_USEDEFAULT, CW_USEDEFAULT,
                              outer.right - outer.left, outer.bottom - outer.top, nullptr, nullptr,
                              ::GetModuleHandleW(nullptr), this);
  controls_ = std::make_unique<Win32MainControls>(window_, twips_, [this](MouseButton button) {
    if (form_) form_->ZoomButtonPressed(button);
  });
  Win32GraphBox& graph = controls_->Graph();
  graph.SetMouseMoveHandler([this](double x, double y) {
    if (form_) form_->Graph().PointerMoved(x, y);
  });
  graph.SetMouseDownHandler([this](MouseButton button, double, double) {
    if (form_) form_->Graph().PointerPressed(button);
  });
  graph.SetDoubleClickHandler([this] {
    if (form_) form_->Graph().ResetTrace();
  });
  RunResizeRules();
}

Win32MainWindow::~Win32MainWindow() {
  closing_ = true;
  controls_.reset();
  if (::IsWindow(window_)) {
    ::SetWindowLongPtrW(window_, GWLP_USERDATA, 0);
    ::DestroyWindow(window_);
  }
}

// The graph, its sample axis and the value panel where the layout has them, the design's at first.
void Win32MainWindow::PlaceLayout() {
  controls_->Place(MainControl::kGraph, 120, 120, layout_.graphWidth, layout_.graphHeight);
  controls_->Place(MainControl::kXaxisTop, 120, layout_.xaxisTop, layout_.xaxisWidth, 135);
  ::SetWindowPos(Control(MainControl::kWeighBox), nullptr, twips_.WholePixels(layout_.weighBoxLeft),
                 twips_.WholePixels(layout_.weighBoxTop), 0, 0,
                 SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void Win32MainWindow::RunResizeRules() {
  if (inResize_) return;
  inResize_ = true;
  Resizable window(*this);
  if (ResizeRules::Apply(window, layout_)) PlaceLayout();
  inResize_ = false;
}

void Win32MainWindow::Show() {
  const int command = pendingState_ == WindowMode::kMinimized   ? SW_SHOWMINIMIZED
                      : pendingState_ == WindowMode::kMaximized ? SW_SHOWMAXIMIZED
                                                                : SW_SHOWNORMAL;
  ::ShowWindow(window_, command);
  ::UpdateWindow(window_);
}

void Win32MainWindow::SetCurrentColor(Rgb color) {
  if (color == currentColor_) return;
  currentColor_ = color;
  ::InvalidateRect(Control(MainControl::kCurrent), nullptr, FALSE);
}

void Win32MainWindow::SetCurrentVisible(bool visible) {
  HWND current = Control(MainControl::kCurrent);
  if ((::IsWindowVisible(current) != FALSE) != visible)
    ::ShowWindow(current, visible ? SW_SHOWNA : SW_HIDE);
}

void Win32MainWindow::SetCurrentCaption(const std::string& caption) {
  if (caption == currentCaption_) return;
  currentCaption_ = caption;
  ::SetWindowTextW(Control(MainControl::kCurrent), Widen(caption).c_str());
  ::InvalidateRect(Control(MainControl::kCurrent), nullptr, FALSE);
}

double Win32MainWindow::GraphOuterHeight() const {
  RECT r{};
  ::GetClientRect(Control(MainControl::kGraph), &r);
  return twips_.WholeTwips(r.bottom - r.top);
}

void Win32MainWindow::SetRangeOfChangeTop(double top) {
  controls_->MoveTop(MainControl::kRangeofChange, top);
}

void Win32MainWindow::SetRangeOfChangeCaption(const std::string& caption) {
  controls_->SetText(MainControl::kRangeofChange, caption);
}

void Win32MainWindow::SetLabNofDat(const std::string& caption, double top) {
  controls_->SetText(MainControl::kLabNofDat, caption);
  controls_->MoveTop(MainControl::kLabNofDat, top);
}

void Win32MainWindow::SetLogoTop(double top) { controls_->MoveTop(MainControl::kPicLogo, top); }

void Win32MainWindow::SetCaption(const std::string& caption) {
  ::SetWindowTextW(window_, Widen(caption).c_str());
}

std::string Win32MainWindow::Caption() const {
  std::wstring text(static_cast<std::size_t>(::GetWindowTextLengthW(window_)) + 1, L'\0');
  text.resize(static_cast<std::size_t>(
      ::GetWindowTextW(window_, text.data(), static_cast<int>(text.size()))));
  return Narrow(text);
}

bool Win32MainWindow::SetWindowState(WindowMode mode) {
  if (!Shown()) {
    pendingState_ = mode;
    return true;
  }
  if (mode != WindowMode::kNormal) {
    ::ShowWindow(window_, mode == WindowMode::kMinimized ? SW_MINIMIZE : SW_MAXIMIZE);
    return true;
  }
  // A window minimised while maximised comes back maximised first.
  if (::IsIconic(window_)) ::ShowWindow(window_, SW_RESTORE);
  if (::IsZoomed(window_)) ::ShowWindow(window_, SW_RESTORE);
  return true;
}

WindowMode Win32MainWindow::WindowState() const {
  if (!Shown()) return pendingState_;
  if (::IsIconic(window_)) return WindowMode::kMinimized;
  if (::IsZoomed(window_)) return WindowMode::kMaximized;
  return WindowMode::kNormal;
}

// A minimised or maximised window's place and size are those it is restored to.
RECT Win32MainWindow::Outer() const {
  RECT r{};
  WINDOWPLACEMENT placement{};
  placement.length = sizeof placement;
  if ((::IsIconic(window_) || ::IsZoomed(window_)) && ::GetWindowPlacement(window_, &placement))
    return placement.rcNormalPosition;
  ::GetWindowRect(window_, &r);
  return r;
}

void Win32MainWindow::SetOuter(const RECT& outer) {
  const int width = std::max(1, static_cast<int>(outer.right - outer.left));
  const int height = std::max(1, static_cast<int>(outer.bottom - outer.top));
  if (!::IsIconic(window_) && !::IsZoomed(window_)) {
    ::SetWindowPos(window_, nullptr, outer.left, outer.top, width, height,
                   SWP_NOZORDER | SWP_NOACTIVATE);
    return;
  }
  WINDOWPLACEMENT placement{};
  placement.length = sizeof placement;
  if (!::GetWindowPlacement(window_, &placement)) return;
  placement.rcNormalPosition = RECT{outer.left, outer.top, outer.left + width, outer.top + height};
  placement.showCmd = ::IsIconic(window_) ? SW_SHOWMINNOACTIVE : SW_SHOWMAXIMIZED;
  placement.flags = 0;
  ::SetWindowPlacement(window_, &placement);
}

void Win32MainWindow::MoveWindow(double left, double top) {
  RECT r = Outer();
  const int x = twips_.WholePixels(left), y = twips_.WholePixels(top);
  SetOuter(RECT{x, y, x + r.right - r.left, y + r.bottom - r.top});
}

void Win32MainWindow::ResizeWindow(double width, double height) {
  RECT r = Outer();
  SetOuter(
      RECT{r.left, r.top, r.left + twips_.WholePixels(width), r.top + twips_.WholePixels(height)});
}

double Win32MainWindow::WindowLeft() const { return twips_.WholeTwips(Outer().left); }

double Win32MainWindow::WindowTop() const { return twips_.WholeTwips(Outer().top); }

double Win32MainWindow::WindowWidth() const {
  const RECT r = Outer();
  return twips_.WholeTwips(r.right - r.left);
}

double Win32MainWindow::WindowHeight() const {
  const RECT r = Outer();
  return twips_.WholeTwips(r.bottom - r.top);
}

void Win32MainWindow::SetZoomButtonVisible(bool visible) {
  ::ShowWindow(Control(MainControl::kCmdZoomIn), visible ? SW_SHOWNA : SW_HIDE);
}

void Win32MainWindow::SetPointerStyle(PointerStyle style) {
  pointerStyle_ = style;
  POINT p{};
  ::GetCursorPos(&p);
  // The pointer changes at once, not at its next move.
  ::SetCursorPos(p.x, p.y);
}

void Win32MainWindow::ApplyFormTexts(const LangTable& texts) {
  charset_ = LangCharsetFromText(texts.Text(1));
  ApplyFormTextsTo(window_, texts, charset_);
}

void Win32MainWindow::ShowPlot() {
  controls_->Graph().Show();
  controls_->XaxisTop().Show();
  controls_->TestPic().Show();
}

void Win32MainWindow::CloseWindow() {
  closing_ = true;
  ::DestroyWindow(window_);
}

LRESULT CALLBACK Win32MainWindow::Procedure(HWND window, UINT message, WPARAM w, LPARAM l) {
  if (message == WM_NCCREATE) {
    auto* self = static_cast<Win32MainWindow*>(reinterpret_cast<CREATESTRUCTW*>(l)->lpCreateParams);
    self->window_ = window;
    ::SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
  }
  auto* self = reinterpret_cast<Win32MainWindow*>(::GetWindowLongPtrW(window, GWLP_USERDATA));
  if (!self) return ::DefWindowProcW(window, message, w, l);
  return self->Handle(message, w, l);
}

LRESULT Win32MainWindow::Handle(UINT message, WPARAM w, LPARAM l) {
  // While the window is made, before its controls are.
  if (!controls_) return ::DefWindowProcW(window_, message, w, l);
  switch (message) {
    case WM_GETMINMAXINFO: {
      auto* info = reinterpret_cast<MINMAXINFO*>(l);
      info->ptMinTrackSize = POINT{twips_.WholePixels(ResizeRules::MinimumWidth()),
                                   twips_.WholePixels(ResizeRules::MinimumHeight())};
      return 0;
    }
    case WM_SIZE:
      RunResizeRules();
      return 0;
    case WM_ERASEBKGND: {
      RECT r{};
      ::GetClientRect(window_, &r);
      ::FillRect(reinterpret_cast<HDC>(w), &r, controls_->Background());
      return 1;
    }
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORBTN:
      ::SetTextColor(reinterpret_cast<HDC>(w), ToColorRef(kMainForeground));
      ::SetBkColor(reinterpret_cast<HDC>(w), ToColorRef(kMainBackground));
      return reinterpret_cast<LRESULT>(controls_->Background());
    case WM_DRAWITEM:
      controls_->DrawItem(*reinterpret_cast<const DRAWITEMSTRUCT*>(l), currentCaption_,
                          currentColor_);
      return TRUE;
    case WM_COMMAND:
      if (HIWORD(w) != BN_CLICKED) break;
      if (reinterpret_cast<HWND>(l) == Control(MainControl::kAppStop) && form_) {
        form_->SetSuspended(::SendMessageW(reinterpret_cast<HWND>(l), BM_GETCHECK, 0, 0) ==
                            BST_CHECKED);
      } else if (reinterpret_cast<HWND>(l) == Control(MainControl::kTheSetup) && onSetup_) {
        onSetup_();
      }
      return 0;
    case WM_SETCURSOR:
      if (LOWORD(l) != HTCLIENT) break;
      ::SetCursor(::LoadCursorW(nullptr,
                                pointerStyle_ == PointerStyle::kSizeAll ? IDC_SIZEALL : IDC_ARROW));
      return TRUE;
    // A log-off or shutdown of Windows ends the program after this: the settings and every
    // record line must be on the disk before.
    case WM_QUERYENDSESSION:
      return TRUE;
    case WM_ENDSESSION:
      if (w && form_ && !closing_) form_->ShutDown();
      if (w) closing_ = true;
      return 0;
    case WM_CLOSE:
      if (form_ && !closing_) form_->ShutDown();
      closing_ = true;
      ::DestroyWindow(window_);
      return 0;
    case WM_DESTROY:
      if (onClosed_) onClosed_();
      return 0;
    default:
      break;
  }
  return ::DefWindowProcW(window_, message, w, l);
}

}  // namespace tarnwell
