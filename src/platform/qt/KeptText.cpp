// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/qt/KeptText.h"

#include <QFontMetricsF>
#include <QGlyphRun>
#include <QList>
#include <QPaintDevice>
#include <QPainter>
#include <QTextLayout>
#include <algorithm>
#include <deque>

namespace tarnwell {
namespace {

constexpr std::size_t kKept = 16;

struct Kept {
  QFont font;
  QString text;
  int dpiX, dpiY;
  QList<QGlyphRun> runs;
  double fontAscent;
  double lineAscent;
};

const Kept& LaidOut(const QFont& font, const QString& text, const QPaintDevice& device) {
  // Painting happens on the user-interface thread only. The fonts the layouts hold must not be
  // let go after the application is gone, so the layouts are kept to the end.
  static auto& kept = *new std::deque<Kept>;
  const int dpiX = device.logicalDpiX(), dpiY = device.logicalDpiY();
  const auto same = [&](const Kept& k) {
    return k.text == text && k.dpiX == dpiX && k.dpiY == dpiY && k.font == font;
  };
  if (const auto it = std::find_if(kept.begin(), kept.end(), same); it != kept.end()) {
    if (it != kept.begin()) std::rotate(kept.begin(), it, it + 1);
    return kept.front();
  }
  QTextLayout layout(text, font, const_cast<QPaintDevice*>(&device));
  layout.beginLayout();
  const QTextLine line = layout.createLine();
  layout.endLayout();
  kept.push_front(Kept{font, text, dpiX, dpiY, layout.glyphRuns(),
                       QFontMetricsF(font, const_cast<QPaintDevice*>(&device)).ascent(),
                       line.ascent()});
  if (kept.size() > kKept) kept.pop_back();
  return kept.front();
}

}  // namespace

void DrawKeptText(QPainter& painter, const QFont& font, const QString& text, QPointF at) {
  if (text.isEmpty() || !painter.device()) return;
  const Kept& laidOut = LaidOut(font, text, *painter.device());
  const QPointF baseline(at.x(), at.y() + laidOut.fontAscent);
  // The runs stand on a baseline at the line's ascent.
  const QPointF origin = baseline - QPointF(0, laidOut.lineAscent);
  for (const QGlyphRun& run : laidOut.runs) painter.drawGlyphRun(origin, run);
}

}  // namespace tarnwell
