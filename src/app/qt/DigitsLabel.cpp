// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/qt/DigitsLabel.h"

#include <QEvent>
#include <QFontMetrics>
#include <algorithm>

namespace tarnwell {

void DigitsLabel::moveEvent(QMoveEvent* event) {
  QLabel::moveEvent(event);
  PlaceDigits();
}

void DigitsLabel::changeEvent(QEvent* event) {
  QLabel::changeEvent(event);
  if (event->type() == QEvent::FontChange) PlaceDigits();
}

void DigitsLabel::PlaceDigits() {
  const QFontMetrics metrics(font());
  const int inkAboveBaseline = -metrics.tightBoundingRect(QStringLiteral("0123456789")).top();
  const int hidden = std::max(0, -y());
  setAlignment(Qt::AlignRight | Qt::AlignTop);
  setContentsMargins(0, std::max(0, hidden + 1 + inkAboveBaseline - metrics.ascent()), 0, 0);
}

}  // namespace tarnwell
