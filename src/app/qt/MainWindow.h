// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QCheckBox>
#include <QLabel>
#include <QPushButton>
#include <QTimer>
#include <QWidget>
#include <functional>
#include <memory>

#include "app/MainView.h"
#include "app/ResizeRules.h"
#include "graph/qt/QtGraphWidget.h"
#include "platform/Twips.h"

namespace tarnwell {

class Mainform;

// The main window: its controls at their design places, the resize rules, and the events
// forwarded to the program. It holds no program state.
class MainWindow : public QWidget, public MainView {
  Q_OBJECT

 public:
  MainWindow();
  ~MainWindow() override;

  void SetForm(Mainform* form) { form_ = form; }
  // What the settings button does (open the settings dialog or bring it forward).
  void SetOnSetup(std::function<void()> onSetup) { onSetup_ = std::move(onSetup); }

  // Controls by their design names, for the program's wiring and for tests.
  QtGraphWidget* Graph() const { return graph_; }
  QLabel* Current() const { return current_; }
  QLabel* RangeofChange() const { return rangeofChange_; }
  QCheckBox* App_Stop() const { return appStop_; }
  QPushButton* TheSetup() const { return theSetup_; }
  QWidget* WeighBox() const { return weighBox_; }

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
  DrawList& GraphPicture() override { return graph_->Picture(); }
  DrawList& XaxisPicture() override { return xaxisTop_->Picture(); }
  DrawList& TestPicture() override { return testPic_->Picture(); }
  void ShowPlot() override;
  void CloseWindow() override;

  // Applies the resize rules to the controls now.
  void RunResizeRules();

 protected:
  void resizeEvent(QResizeEvent* event) override;
  void moveEvent(QMoveEvent* event) override;
  void showEvent(QShowEvent* event) override;
  void changeEvent(QEvent* event) override;
  void closeEvent(QCloseEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  class Resizable;
  int Px(double twips) const;
  double Tw(int pixels) const;
  void Place(QWidget* w, double left, double top, double width, double height);
  void PlaceLayout();
  QSize FrameExtra() const;
  void FollowFrame();
  void WatchFrame();

  Twips twips_;
  Mainform* form_ = nullptr;
  std::function<void()> onSetup_;
  MainLayout layout_;
  bool closing_ = false;
  bool inResize_ = false;
  Rgb currentColor_{0, 0, 0};
  // Outer size asked for while minimised or maximised, applied to the restored bounds.
  QSize restoredSize_;
  // Outer size asked for until the restored window's frame is known, the frame last applied for
  // it and the frame seen while maximised.
  QSize wantedOuter_;
  QSize frameUsed_;
  QSize maximisedFrame_;
  static constexpr int kFrameChecks = 300;  // every 100 ms
  QTimer frameWatch_;
  int frameChecks_ = 0;

  QtGraphWidget* graph_ = nullptr;
  QtGraphWidget* xaxisTop_ = nullptr;
  QLabel* rangeofChange_ = nullptr;
  QLabel* labNofDat_ = nullptr;
  QLabel* picLogo_ = nullptr;
  QWidget* weighBox_ = nullptr;
  QLabel* current_ = nullptr;
  QCheckBox* appStop_ = nullptr;
  QPushButton* cmdZoomIn_ = nullptr;
  QPushButton* theSetup_ = nullptr;
  QtGraphWidget* testPic_ = nullptr;
};

}  // namespace tarnwell
