// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/qt/ReadingLabel.h"

#include <QEvent>
#include <QPainter>
#include <algorithm>

namespace tarnwell {
namespace {

constexpr std::size_t kKept = 8;

// The smallest rectangle holding every pixel that is not fully transparent.
QRect PaintedPart(const QImage& image) {
  int top = image.height(), bottom = -1, left = image.width(), right = -1;
  for (int y = 0; y < image.height(); ++y) {
    const auto* line = reinterpret_cast<const QRgb*>(image.constScanLine(y));
    for (int x = 0; x < image.width(); ++x) {
      if (qAlpha(line[x]) == 0) continue;
      top = std::min(top, y);
      bottom = y;
      left = std::min(left, x);
      right = std::max(right, x);
    }
  }
  return bottom < 0 ? QRect() : QRect(QPoint(left, top), QPoint(right, bottom));
}

}  // namespace

const ReadingLabel::Drawn& ReadingLabel::Draw() {
  const auto same = [this](const Drawn& d) {
    return d.text == text() && d.alignment == alignment();
  };
  if (const auto it = std::find_if(drawn_.begin(), drawn_.end(), same); it != drawn_.end()) {
    if (it != drawn_.begin()) std::rotate(drawn_.begin(), it, it + 1);
    return drawn_.front();
  }
  // What a label like this one paints, on a transparent ground, to be blended in as it would
  // have been painted. A twin paints it: the label itself may be painting into something else.
  twin_.setFont(font());
  // In the colours this label paints with now, whichever group the twin's state would pick.
  const QPalette::ColorGroup group = !isEnabled()       ? QPalette::Disabled
                                     : isActiveWindow() ? QPalette::Active
                                                        : QPalette::Inactive;
  QPalette colours = palette();
  for (int role = 0; role < QPalette::NColorRoles; ++role) {
    const auto r = static_cast<QPalette::ColorRole>(role);
    if (r != QPalette::NoRole) colours.setBrush(r, palette().brush(group, r));
  }
  twin_.setPalette(colours);
  twin_.setLayoutDirection(layoutDirection());
  twin_.setEnabled(isEnabled());
  twin_.setAlignment(alignment());
  twin_.setText(text());
  twin_.resize(size());
  QImage whole(size(), QImage::Format_ARGB32_Premultiplied);
  whole.fill(Qt::transparent);
  twin_.render(&whole, QPoint(), QRegion(), QWidget::RenderFlags());
  const QRect part = PaintedPart(whole);
  drawn_.push_front(
      Drawn{text(), alignment(), part.isNull() ? QImage() : whole.copy(part), part.topLeft()});
  if (drawn_.size() > kKept) drawn_.pop_back();
  return drawn_.front();
}

void ReadingLabel::paintEvent(QPaintEvent* event) {
  if (!pixmap().isNull() || devicePixelRatioF() != 1) {
    QLabel::paintEvent(event);
    return;
  }
  const Drawn& drawn = Draw();
  if (drawn.image.isNull()) return;
  QPainter painter(this);
  painter.drawImage(drawn.at, drawn.image);
}

// What the text looks like in: its font, colours (and the window being active), style and size.
void ReadingLabel::changeEvent(QEvent* event) {
  drawn_.clear();
  QLabel::changeEvent(event);
}

void ReadingLabel::resizeEvent(QResizeEvent* event) {
  drawn_.clear();
  QLabel::resizeEvent(event);
}

}  // namespace tarnwell
