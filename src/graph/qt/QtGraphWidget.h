// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QSize>
#include <QWidget>
#include <functional>

#include "platform/DrawList.h"
#include "platform/Twips.h"

class QPainter;

namespace tarnwell {

// A picture box: holds the latest picture drawn on Picture() and paints it whole, scaled from
// twips to pixels, whenever the toolkit asks. Pointer events are passed on in twips, with the
// buttons numbered 1 left, 2 right, 4 middle.
class QtGraphWidget : public QWidget {
  Q_OBJECT

 public:
  explicit QtGraphWidget(QWidget* parent = nullptr);

  void SetUnits(const Twips& twips);
  // Draw on it, then call Show() to show it. Its sizes follow the widget's; a hidden widget
  // gets no resize events, so they are brought up to date here as well.
  DrawList& Picture() {
    UpdateSizes();
    return picture_;
  }
  const DrawList& Picture() const { return picture_; }
  // Repaints with the picture drawn since, unless it is the one on screen already: a steady
  // reading redraws the same graph every tick.
  void Show();

  void SetMouseMoveHandler(std::function<void(double x, double y)> handler) {
    onMove_ = std::move(handler);
  }
  void SetMouseDownHandler(std::function<void(int button, double x, double y)> handler) {
    onDown_ = std::move(handler);
  }
  void SetDoubleClickHandler(std::function<void()> handler) { onDoubleClick_ = std::move(handler); }

  // Paints `list` on an area of `pixels`, as the widget does; for pictures made off screen.
  static void Replay(const DrawList& list, QPainter& painter, const Twips& twips, QSize pixels);

 protected:
  void paintEvent(QPaintEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseDoubleClickEvent(QMouseEvent* event) override;

 private:
  void UpdateSizes();

  Twips twips_;
  DrawList picture_;
  DrawList shown_;
  std::function<void(double, double)> onMove_;
  std::function<void(int, double, double)> onDown_;
  std::function<void()> onDoubleClick_;
};

}  // namespace tarnwell
