// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QLineF>
#include <QRgb>
#include <QVector>

#include "platform/qt/DirectFill.h"

namespace tarnwell {

// Writes lines one pixel wide (solid, not smoothed, square ends) straight into the image, pixel
// for pixel where the raster engine's own line drawing puts them: it spends a call on every
// pixel of a steep line, and a trace of a few hundred steep segments is tens of thousands.
// Lines it cannot take this way (ends beyond the image's edge, a clip of more than one
// rectangle) are added to `rest`, for the painter.
void WriteThinLines(const DirectTarget& target, QRgb pixel, const QVector<QLineF>& lines,
                    QVector<QLineF>& rest);

}  // namespace tarnwell
