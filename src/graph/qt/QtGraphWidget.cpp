// SPDX-License-Identifier: GPL-3.0-or-later
#include "graph/qt/QtGraphWidget.h"

#include <QFont>
#include <QMouseEvent>
#include <QPainter>
#include <QPen>
#include <algorithm>
#include <cmath>
#include <optional>
#include <vector>

#include "platform/qt/ColumnCover.h"
#include "platform/qt/DirectFill.h"
#include "platform/qt/KeptText.h"
#include "platform/qt/ThinLines.h"

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
  const auto inside = [&](QPointF p) {
    return p.x() >= box.left() && p.x() <= box.right() && p.y() >= box.top() &&
           p.y() <= box.bottom();
  };
  if (inside(a) && inside(b)) return true;  // nearly every segment of a trace
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

// Thin lines of an opaque colour are written straight into an image where the painter allows it.
void DrawLines(QPainter& painter, const QPen& pen, const QVector<QLineF>& lines) {
  if (lines.isEmpty()) return;
  painter.setPen(pen);
  const auto target = pen.widthF() <= 1 ? DirectTargetOf(painter, pen.color()) : std::nullopt;
  if (!target) {
    painter.drawLines(lines);
    return;
  }
  QVector<QLineF> rest;
  WriteThinLines(*target, pen.color().rgba(), lines, rest);
  if (!rest.isEmpty()) painter.drawLines(rest);
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
  const QRectF box = area.adjusted(-16, -16, 16, 16);
  const double scale = twips.ToPixels(1);

  // The background is not filled at once: a dense trace that follows writes it in the same pass
  // over the image as its own pixels. Lines drawn in between (the guide lines) wait until then,
  // and the trace is written again where they cross it. Anything else fills it first.
  std::optional<QColor> ground;
  struct Held {
    QPen pen;
    QVector<QLineF> lines;
  };
  std::vector<Held> held;
  const auto clear = [&](const QColor& color) {
    held.clear();
    ground.reset();
    if (DirectTargetOf(painter, color)) {
      ground = color;
    } else {
      painter.fillRect(area, color);
    }
  };
  const auto settle = [&] {
    if (!ground) return;
    painter.fillRect(area, *ground);
    for (const Held& h : held) {
      DrawLines(painter, h.pen, h.lines);
    }
    held.clear();
    ground.reset();
  };
  if (ops.empty() || ops.front().kind != DrawOp::Kind::kClear) clear(ToQColor(list.BackColor()));

  // Consecutive lines of one pen go out in one call; each is still drawn as a line of its own
  // (a polyline would leave out the tip pixels of sharp turns), but the joined segments of a
  // dense trace are painted as the rows they cover.
  QVector<QLineF> batch;
  batch.reserve(static_cast<qsizetype>(ops.size()));
  QVector<QLineF> lines;
  ColumnCover cover(pixels.width(), pixels.height());
  DrawColor batchColor;
  int batchWidth = 0;
  auto flush = [&] {
    if (batch.isEmpty()) return;
    QPen pen(ToQColor(batchColor), std::max(batchWidth, 1));
    pen.setCosmetic(true);
    lines.clear();
    const qsizetype n = batch.size();
    for (qsizetype i = 0; i < n; ++i) {
      const QLineF& line = batch[i];
      const bool joined = batchWidth <= 1 && ((i > 0 && line.p1() == batch[i - 1].p2()) ||
                                              (i + 1 < n && line.p2() == batch[i + 1].p1()));
      if (!joined || !cover.Add(line.p1(), line.p2())) lines.append(line);
    }
    batch.clear();
    if (ground && cover.PaintOnGround(painter, pen.color(), *ground)) {
      ground.reset();
      QRegion crossed;
      for (const Held& h : held) {
        DrawLines(painter, h.pen, h.lines);
        const double margin = h.pen.widthF() / 2 + 2;
        for (const QLineF& line : h.lines) {
          crossed += QRectF(line.p1(), line.p2())
                         .normalized()
                         .adjusted(-margin, -margin, margin, margin)
                         .toAlignedRect();
        }
      }
      held.clear();
      cover.Paint(painter, pen.color(), &crossed);
    } else if (ground && cover.Empty()) {
      held.push_back(Held{pen, lines});
      return;
    } else {
      settle();
    }
    DrawLines(painter, pen, lines);
    cover.Paint(painter, pen.color());
  };

  for (const DrawOp& op : ops) {
    switch (op.kind) {
      case DrawOp::Kind::kClear:
        flush();
        clear(ToQColor(op.color));
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
        settle();
        const DrawText& text = list.TextOf(op);
        painter.setPen(ToQColor(op.color));
        DrawKeptText(
            painter, ToQFont(text.font),
            QString::fromLocal8Bit(text.text.data(), static_cast<qsizetype>(text.text.size())),
            QPointF(op.x1 * scale, op.y1 * scale));
        break;
      }
    }
  }
  flush();
  settle();
}

void QtGraphWidget::Show() {
  if (picture_.SameSteps(shown_)) return;
  shown_ = picture_;
  update();
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
