// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QFont>
#include <QPointF>
#include <QString>

class QPainter;

namespace tarnwell {

// Draws `text` in `font` with its top left at `at` (the baseline is the font's ascent below),
// the pixels QPainter::drawText gives, from a layout kept for the texts drawn last: laying a
// text out costs more than drawing it, and a graph shows the same few texts tick after tick.
void DrawKeptText(QPainter& painter, const QFont& font, const QString& text, QPointF at);

}  // namespace tarnwell
