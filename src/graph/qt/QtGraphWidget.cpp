// SPDX-License-Identifier: GPL-3.0-or-later
#include "graph/qt/QtGraphWidget.h"

#include <QFontMetricsF>
#include <QMouseEvent>
#include <QPainter>
#include <QPen>
#include <algorithm>
#include <cmath>

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

int ButtonNumber(Qt::MouseButton button) {
  switch (button) {
    case Qt::LeftButton:
      return 1;
    case Qt::RightButton:
      return 2;
    case Qt::MiddleButton:
      return 4;
    default:
      return 0;
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

void QtGraphWidget::PaintLines(QPainter& painter, const DrawOp& pen,
                               std::span<const PixelPoint> points) const {
  const QColor color = ToQColor(pen.color);
  // Rectangles are filled on the screen's own pixels, `ratio` to one of the widget's each way,
  // in columns `across` screen pixels wide.
  const double ratio = painter.deviceTransform().m22();
  const auto rows = static_cast<int>(std::lround(height() * ratio));
  const auto fill = [&](const std::vector<PixelRect>& rects, double across) {
    const auto left = [across](int column) {
      return static_cast<int>(std::lround(column * across));
    };
    painter.save();
    painter.setWorldTransform(QTransform::fromScale(1 / ratio, 1 / ratio));
    for (const PixelRect& r : rects) {
      painter.fillRect(QRect(left(r.x), r.y, left(r.x + r.width) - left(r.x), r.height), color);
    }
    painter.restore();
  };
  // A trace of more samples than the widget's pixel columns: the rows it covers in each of them,
  // rows of the screen.
  if (pen.penWidth <= 1 && MoreSegmentsThanColumns(points)) {
    std::vector<PixelPoint> onScreen(points.begin(), points.end());
    for (PixelPoint& p : onScreen) p.y *= ratio;
    fill(CoverColumns(onScreen, width(), rows), ratio);
    return;
  }
  // Level and upright lines of one screen pixel are the pixels they cross, filled at once rather
  // than pixel by pixel. Any other segment is drawn as a line of its own: a polyline would leave
  // out the tip pixels of sharp turns. The painter cuts lines far outside to the part inside.
  std::vector<PixelRect> rects;
  QVector<QLineF> lines;
  for (std::size_t i = 1; i < points.size(); ++i) {
    const PixelPoint a = points[i - 1], b = points[i];
    if (pen.penWidth <= 1 && (a.x == b.x || a.y == b.y)) {
      const PixelPoint ends[] = {{a.x * ratio, a.y * ratio}, {b.x * ratio, b.y * ratio}};
      const auto columns = static_cast<int>(std::lround(width() * ratio));
      for (const PixelRect& r : CoverColumns(ends, columns, rows)) rects.push_back(r);
    } else {
      lines.append(QLineF(a.x, a.y, b.x, b.y));
    }
  }
  fill(rects, 1);
  if (lines.isEmpty()) return;
  QPen line(color, std::max(pen.penWidth, 1));
  line.setCosmetic(true);
  painter.setPen(line);
  painter.drawLines(lines);
}

void QtGraphWidget::PaintText(QPainter& painter, const DrawOp& op, std::size_t index) {
  const DrawText& text = picture_.TextOf(op);
  if (index >= texts_.size()) texts_.resize(index + 1);
  ShownText& shown = texts_[index];
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
  painter.setPen(ToQColor(op.color));
  const double scale = twips_.ToPixels(1);
  painter.drawStaticText(QPointF(op.x1 * scale, KeptInside(shown, op.y1 * scale)), shown.layout);
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
  const double scale = twips_.ToPixels(1);
  const auto& ops = picture_.Ops();
  if (ops.empty() || ops.front().kind != DrawOp::Kind::kClear) {
    painter.fillRect(rect(), ToQColor(picture_.BackColor()));
  }
  // Consecutive lines of one pen, each starting where the one before ends, go out together.
  std::vector<PixelPoint> joined;
  joined.reserve(ops.size() + 1);
  const DrawOp* pen = nullptr;
  const auto flush = [&] {
    if (pen) PaintLines(painter, *pen, joined);
    joined.clear();
    pen = nullptr;
  };
  std::size_t texts = 0;
  for (const DrawOp& op : ops) {
    if (op.kind == DrawOp::Kind::kLine) {
      const PixelPoint from{op.x1 * scale, op.y1 * scale};
      if (!pen || !(pen->color == op.color) || pen->penWidth != op.penWidth ||
          !(joined.back() == from)) {
        flush();
        pen = &op;
        joined.push_back(from);
      }
      joined.push_back(PixelPoint{op.x2 * scale, op.y2 * scale});
      continue;
    }
    flush();
    if (op.kind == DrawOp::Kind::kClear) {
      painter.fillRect(rect(), ToQColor(op.color));
    } else {
      PaintText(painter, op, texts++);
    }
  }
  flush();
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
  const int button = ButtonNumber(event->button());
  if (!onDown_ || button == 0) return;
  const QPointF p = event->position();
  onDown_(button, twips_.FromPixels(p.x()), twips_.FromPixels(p.y()));
}

// The second press of a double click is the double click only, not another press.
void QtGraphWidget::mouseDoubleClickEvent(QMouseEvent*) {
  if (onDoubleClick_) onDoubleClick_();
}

}  // namespace tarnwell
