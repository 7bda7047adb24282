// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/qt/QtGraphWidget.h"

#include <QFont>
#include <QFontMetricsF>
#include <QMouseEvent>
#include <QPainter>
#include <QPen>
#include <algorithm>
#include <cmath>
#include <vector>

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

// Cuts the segment to `box` (Liang-Barsky). Values far outside the graph are drawn outside it,
// not clamped; cutting keeps the visible part exact while sparing the painter endless lines.
bool ClipTo(const QRectF& box, QPointF& a, QPointF& b) {
  if (!std::isfinite(a.x()) || !std::isfinite(a.y()) || !std::isfinite(b.x()) ||
      !std::isfinite(b.y())) {
    return false;
  }
  const double dx = b.x() - a.x(), dy = b.y() - a.y();
  double t0 = 0, t1 = 1;
  const double p[4] = {-dx, dx, -dy, dy};
  const double q[4] = {a.x() - box.left(), box.right() - a.x(), a.y() - box.top(),
                       box.bottom() - a.y()};
  for (int i = 0; i < 4; ++i) {
    if (p[i] == 0) {
      if (q[i] < 0) return false;
      continue;
    }
    const double t = q[i] / p[i];
    if (p[i] < 0) {
      if (t > t1) return false;
      if (t > t0) t0 = t;
    } else {
      if (t < t0) return false;
      if (t < t1) t1 = t;
    }
  }
  const QPointF start = a;
  if (t1 < 1) b = QPointF(start.x() + t1 * dx, start.y() + t1 * dy);
  if (t0 > 0) a = QPointF(start.x() + t0 * dx, start.y() + t0 * dy);
  return true;
}

// A dense trace puts many samples into one pixel column. A chain of joined segments of a thin pen
// that stays inside one column covers the rows between its lowest and highest point, so it is
// painted as that one span of pixels (a filled rectangle is far cheaper than steep lines); a
// segment from one such column to the next whose ends lie within the rows of both adds nothing
// and is left out. The same picture to the eye (at most a pixel's shift) for a fraction of the
// painter's work.
void MergeColumns(QVector<QLineF>& lines, QVector<QRect>& spans) {
  constexpr qsizetype kShortestChain = 3;
  // A line as it is, or a column's span: x1 == x2, y1 its lowest and y2 its highest point.
  struct Piece {
    QLineF line;
    bool span;
    bool Covers(double y) const { return y >= line.y1() && y <= line.y2(); }
  };
  std::vector<Piece> pieces;
  pieces.reserve(static_cast<std::size_t>(lines.size()));
  const qsizetype n = lines.size();
  for (qsizetype i = 0; i < n;) {
    const double column = std::floor(lines[i].x1());
    double low = std::min(lines[i].y1(), lines[i].y2());
    double high = std::max(lines[i].y1(), lines[i].y2());
    qsizetype j = i;
    while (j < n && std::floor(lines[j].x1()) == column && std::floor(lines[j].x2()) == column &&
           (j == i || lines[j].p1() == lines[j - 1].p2())) {
      low = std::min({low, lines[j].y1(), lines[j].y2()});
      high = std::max({high, lines[j].y1(), lines[j].y2()});
      ++j;
    }
    const bool chain = j - i >= kShortestChain;
    pieces.push_back({chain ? QLineF(lines[i].x1(), low, lines[i].x1(), high) : lines[i], chain});
    i = chain ? j : i + 1;
  }
  lines.clear();
  for (std::size_t k = 0; k < pieces.size(); ++k) {
    const QLineF& line = pieces[k].line;
    if (pieces[k].span) {
      const int top = static_cast<int>(std::floor(line.y1()));
      const int bottom = static_cast<int>(std::floor(line.y2()));
      spans.append(QRect(static_cast<int>(std::floor(line.x1())), top, 1, bottom - top + 1));
      continue;
    }
    if (k > 0 && k + 1 < pieces.size() && pieces[k - 1].span && pieces[k + 1].span) {
      const Piece& before = pieces[k - 1];
      const Piece& after = pieces[k + 1];
      if (before.Covers(line.y1()) && before.Covers(line.y2()) && after.Covers(line.y1()) &&
          after.Covers(line.y2())) {
        continue;
      }
    }
    lines.append(line);
  }
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

void QtGraphWidget::Replay(const DrawList& list, QPainter& painter, const Twips& twips,
                           QSize pixels) {
  const QRectF area(0, 0, pixels.width(), pixels.height());
  painter.setRenderHint(QPainter::Antialiasing, false);
  const auto& ops = list.Ops();
  if (ops.empty() || ops.front().kind != DrawOp::Kind::kClear) {
    painter.fillRect(area, ToQColor(list.BackColor()));
  }
  const QRectF box = area.adjusted(-16, -16, 16, 16);
  const double scale = twips.ToPixels(1);

  // Consecutive lines of one pen go out in one call; each is still drawn as a line of its own
  // (a polyline would leave out the tip pixels of sharp turns).
  QVector<QLineF> batch;
  batch.reserve(static_cast<qsizetype>(ops.size()));
  QVector<QRect> spans;
  DrawColor batchColor;
  int batchWidth = 0;
  auto flush = [&] {
    if (batch.isEmpty()) return;
    QPen pen(ToQColor(batchColor), std::max(batchWidth, 1));
    pen.setCosmetic(true);
    painter.setPen(pen);
    spans.clear();
    if (batchWidth <= 1) MergeColumns(batch, spans);
    painter.drawLines(batch);
    for (const QRect& span : spans) painter.fillRect(span, pen.color());
    batch.clear();
  };

  for (const DrawOp& op : ops) {
    switch (op.kind) {
      case DrawOp::Kind::kClear:
        flush();
        painter.fillRect(area, ToQColor(op.color));
        break;
      case DrawOp::Kind::kLine: {
        QPointF a(op.x1 * scale, op.y1 * scale), b(op.x2 * scale, op.y2 * scale);
        if (!ClipTo(box, a, b)) break;
        if (!(op.color == batchColor) || op.penWidth != batchWidth) {
          flush();
          batchColor = op.color;
          batchWidth = op.penWidth;
        }
        batch.append(QLineF(a, b));
        break;
      }
      case DrawOp::Kind::kText: {
        flush();
        const DrawText& text = list.TextOf(op);
        const QFont font = ToQFont(text.font);
        painter.setFont(font);
        painter.setPen(ToQColor(op.color));
        const double ascent = QFontMetricsF(font, painter.device()).ascent();
        painter.drawText(
            QPointF(op.x1 * scale, op.y1 * scale + ascent),
            QString::fromLocal8Bit(text.text.data(), static_cast<qsizetype>(text.text.size())));
        break;
      }
    }
  }
  flush();
}

void QtGraphWidget::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  Replay(picture_, painter, twips_, size());
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
