// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <windows.h>

#include <functional>
#include <memory>
#include <string>

#include "app/MainDesign.h"
#include "app/MainView.h"
#include "app/ResizeRules.h"
#include "app/win32/Win32MainControls.h"
#include "platform/Twips.h"

namespace tarnwell {

class Mainform;

// The main window: its controls at their design places, the resize rules, and the events
// forwarded to the program. It holds no program state. Make, use and destroy it on the
// user-interface thread.
class Win32MainWindow : public MainView {
 public:
  Win32MainWindow();
  ~Win32MainWindow() override;
  Win32MainWindow(const Win32MainWindow&) = delete;
  Win32MainWindow& operator=(const Win32MainWindow&) = delete;

  HWND Handle() const { return window_; }
  void SetForm(Mainform* form) { form_ = form; }
  // What the settings button does (open the settings dialog or bring it forward).
  void SetOnSetup(std::function<void()> onSetup) { onSetup_ = std::move(onSetup); }
  // Run once the window is gone: the end of the program's message loop.
  void SetOnClosed(std::function<void()> onClosed) { onClosed_ = std::move(onClosed); }
  // Shows the window for the first time, in the state start-up gave it.
  void Show();

  // Controls by their design names, for the program's wiring and for tests.
  HWND Control(MainControl control) const { return controls_->Control(control); }
  Win32GraphBox& Graph() { return controls_->Graph(); }
  HFONT FontOf(MainControl control) const { return controls_->FontOf(control); }
  std::string ToolTipOf(MainControl control) const { return controls_->ToolTipOf(control); }
  // What the large digits show, as they are painted.
  const std::string& CurrentCaption() const { return currentCaption_; }

  // MainView
  void SetCurrentColor(Rgb color) override;
  void SetCurrentVisible(bool visible) override;
  void SetCurrentCaption(const std::string& caption) override;
  double GraphOuterHeight() const override;
  void SetRangeOfChangeTop(double top) override;
  void SetRangeOfChangeCaption(const std::string& caption) override;
  void SetLabNofDat(const std::string& caption, double top) override;
  void SetLogoTop(double top) override;
  void SetCaption(const std::string& caption) override;
  std::string Caption() const override;
  bool SetWindowState(WindowMode mode) override;
  WindowMode WindowState() const override;
  void MoveWindow(double left, double top) override;
  void ResizeWindow(double width, double height) override;
  double WindowLeft() const override;
  double WindowTop() const override;
  double WindowWidth() const override;
  double WindowHeight() const override;
  void SetZoomButtonVisible(bool visible) override;
  void SetPointerStyle(PointerStyle style) override;
  void ApplyFormTexts(const LangTable& texts) override;
  DrawList& GraphPicture() override { return controls_->Graph().Picture(); }
  DrawList& XaxisPicture() override { return controls_->XaxisTop().Picture(); }
  DrawList& TestPicture() override { return controls_->TestPic().Picture(); }
  void ShowPlot() override;
  void CloseWindow() override;

  // Applies the resize rules to the controls now.
  void RunResizeRules();

 private:
  class Resizable;
  static LRESULT CALLBACK Procedure(HWND window, UINT message, WPARAM w, LPARAM l);
  LRESULT Handle(UINT message, WPARAM w, LPARAM l);
  void PlaceLayout();
  // The window's outer place and size: its restored one while it is minimised or maximised.
  RECT Outer() const;
  void SetOuter(const RECT& outer);
  bool Shown() const { return ::IsWindowVisible(window_) != FALSE; }

  HWND window_ = nullptr;
  Twips twips_;
  Mainform* form_ = nullptr;
  std::function<void()> onSetup_;
  std::function<void()> onClosed_;
  MainLayout layout_;
  bool closing_ = false;
  bool inResize_ = false;
  // The state asked for before the window is first shown.
  WindowMode pendingState_ = WindowMode::kNormal;
  PointerStyle pointerStyle_ = PointerStyle::kDefault;
  int charset_ = 0;
  Rgb currentColor_{0, 0, 0};
  std::string currentCaption_;
  std::unique_ptr<Win32MainControls> controls_;
};

}  // namespace tarnwell
