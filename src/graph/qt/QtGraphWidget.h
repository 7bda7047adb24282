// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QFont>
#include <QStaticText>
#include <QWidget>
#include <functional>
#include <vector>

#include "graph/MouseButton.h"
#include "graph/PicturePlan.h"
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
  void SetMouseDownHandler(std::function<void(MouseButton button, double x, double y)> handler) {
    onDown_ = std::move(handler);
  }
  void SetDoubleClickHandler(std::function<void()> handler) { onDoubleClick_ = std::move(handler); }

 protected:
  void paintEvent(QPaintEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseDoubleClickEvent(QMouseEvent* event) override;

 private:
  void UpdateSizes();
  void FillRects(QPainter& painter, const PaintStep& step, double ratio) const;
  void PaintLines(QPainter& painter, const PaintStep& step) const;
  void PaintText(QPainter& painter, const PaintStep& step);

  Twips twips_;
  DrawList picture_;
  DrawList shown_;
  PicturePlan plan_;
  // The texts as last painted, by their order in the picture: most stay the same from one
  // picture to the next, and a kept layout is drawn without laying the text out again.
  struct ShownText {
    DrawText text;
    QFont font;
    QStaticText layout;
    // Where its characters' ink begins and ends below the layout's top, in pixels.
    double inkTop = 0, inkBottom = 0;
  };
  // The layout's top for a text the picture puts at `top`, moved just enough that its characters
  // keep a pixel clear of the top and bottom edges.
  double KeptInside(const ShownText& text, double top) const;
  std::vector<ShownText> texts_;
  std::function<void(double, double)> onMove_;
  std::function<void(MouseButton, double, double)> onDown_;
  std::function<void()> onDoubleClick_;
};

}  // namespace tarnwell
