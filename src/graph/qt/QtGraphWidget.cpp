// SPDX-License-Identifier: GPL-3.0-or-later
#include "graph/qt/QtGraphWidget.h"

#include <QFontMetricsF>
#include <QMouseEvent>
#include <QPainter>
#include <QPen>
#include <algorithm>
#include <cmath>

#include "graph/GraphController.h"

namespace tarnwell {
namespace {

QColor ToQColor(DrawColor c) { return QColor(c.red, c.green, c.blue); }

QFont ToQFont(const DrawFont& f) {
  QFont font(QString::fromStdString(f.name));
  // Where the named face is missing, the closest sans-serif face stands in.
  font.setStyleHint(QFont::SansSerif);
  font.setPointSizeF(f.points > 0 ? f.points : 8);
  font.setBold(f.bold);
  return font;
}

MouseButton ButtonNumber(Qt::MouseButton button) {
  switch (button) {
    case Qt::LeftButton:
      return kLeftButton;
    case Qt::RightButton:
      return kRightButton;
    case Qt::MiddleButton:
      return kMiddleButton;
    default:
      return kNoButton;
  }
}

}  // namespace

QtGraphWidget::QtGraphWidget(QWidget* parent) : QWidget(parent) {
  setAttribute(Qt::WA_OpaquePaintEvent);
  setMouseTracking(true);
  UpdateSizes();
}

void QtGraphWidget::SetUnits(const Twips& twips) {
  twips_ = twips;
  UpdateSizes();
}

void QtGraphWidget::UpdateSizes() {
  const double w = twips_.FromPixels(width());
  const double h = twips_.FromPixels(height());
  picture_.SetSizes(w, h, w, h);
}

void QtGraphWidget::Show() {
  if (picture_.SameSteps(shown_)) return;
  shown_ = picture_;
  update();
}

void QtGraphWidget::FillRects(QPainter& painter, const PaintStep& step, double ratio) const {
  const QColor color = ToQColor(step.color);
  const auto left = [across = step.across](int column) {
    return static_cast<int>(std::lround(column * across));
  };
  // Rectangles are of the screen's own pixels, `ratio` to one of the widget's each way.
  painter.save();
  painter.setWorldTransform(QTransform::fromScale(1 / ratio, 1 / ratio));
  for (std::size_t i = step.first; i < step.first + step.count; ++i) {
    const PixelRect& r = plan_.rects[i];
    painter.fillRect(QRect(left(r.x), r.y, left(r.x + r.width) - left(r.x), r.height), color);
  }
  painter.restore();
}

void QtGraphWidget::PaintLines(QPainter& painter, const PaintStep& step) const {
  QVector<QLineF> lines;
  lines.reserve(static_cast<qsizetype>(step.count));
  for (std::size_t i = step.first; i < step.first + step.count; ++i) {
    const PixelSegment& s = plan_.segments[i];
    lines.append(QLineF(s.from.x, s.from.y, s.to.x, s.to.y));
  }
  QPen line(ToQColor(step.color), step.penWidth);
  line.setCosmetic(true);
  painter.setPen(line);
  // The painter cuts lines far outside to the part inside.
  painter.drawLines(lines);
}

void QtGraphWidget::PaintText(QPainter& painter, const PaintStep& step) {
  DrawOp numbered;
  numbered.text = static_cast<std::uint32_t>(step.first);
  const DrawText& text = picture_.TextOf(numbered);
  if (step.first >= texts_.size()) texts_.resize(step.first + 1);
  ShownText& shown = texts_[step.first];
  if (!(shown.text == text)) {
    shown.text = text;
    shown.font = ToQFont(text.font);
    shown.layout.setTextFormat(Qt::PlainText);
    const QString characters =
        QString::fromLocal8Bit(text.text.data(), static_cast<qsizetype>(text.text.size()));
    shown.layout.setText(characters);
    const QFontMetricsF metrics(shown.font, this);
    const QRectF ink = metrics.tightBoundingRect(characters);
    shown.inkTop = metrics.ascent() + ink.top();
    shown.inkBottom = metrics.ascent() + ink.bottom();
  }
  painter.setFont(shown.font);
  painter.setPen(ToQColor(step.color));
  painter.drawStaticText(QPointF(step.x, KeptInside(shown, step.y)), shown.layout);
}

// The value labels stand flush with the top and bottom edges in the line metrics of the face the
// design was made with; in those of another face, or of the same face as this font system reads
// it, they would run over the edge.
double QtGraphWidget::KeptInside(const ShownText& text, double top) const {
  top = std::min(top, height() - 1 - text.inkBottom);
  return std::max(top, 1 - text.inkTop);
}

void QtGraphWidget::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  const double ratio = painter.deviceTransform().m22();
  PlanPicture(picture_, twips_.ToPixels(1), width(), height(), ratio, plan_);
  for (const PaintStep& step : plan_.steps) {
    switch (step.kind) {
      case PaintStep::Kind::kClearAll:
        painter.fillRect(rect(), ToQColor(step.color));
        break;
      case PaintStep::Kind::kFillRects:
        FillRects(painter, step, ratio);
        break;
      case PaintStep::Kind::kLines:
        PaintLines(painter, step);
        break;
      case PaintStep::Kind::kText:
        PaintText(painter, step);
        break;
    }
  }
}

void QtGraphWidget::resizeEvent(QResizeEvent* event) {
  QWidget::resizeEvent(event);
  UpdateSizes();
}

void QtGraphWidget::mouseMoveEvent(QMouseEvent* event) {
  if (!onMove_) return;
  const QPointF p = event->position();
  onMove_(twips_.FromPixels(p.x()), twips_.FromPixels(p.y()));
}

void QtGraphWidget::mousePressEvent(QMouseEvent* event) {
  const MouseButton button = ButtonNumber(event->button());
  if (!onDown_ || button == kNoButton) return;
  const QPointF p = event->position();
  onDown_(button, twips_.FromPixels(p.x()), twips_.FromPixels(p.y()));
}

// The second press of a double click is the double click only, not another press.
void QtGraphWidget::mouseDoubleClickEvent(QMouseEvent*) {
  if (onDoubleClick_) onDoubleClick_();
}

}  // namespace tarnwell
