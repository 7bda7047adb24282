// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/qt/ThinLines.h"

#include <QImage>
#include <cstdint>
#include <cstdlib>
#include <utility>

namespace tarnwell {
namespace {

// The raster engine steps along a line in fixed point: positions in 1/64 pixel, steps in
// 1/65536.
int Sixtyfourths(double v) { return static_cast<int>(v * 64.); }

int Step(int along, int across) {
  if (std::abs(along) > 0x7fff) {
    return static_cast<int>(static_cast<std::int64_t>(along) * 65536 / across);
  }
  return along * 65536 / across;
}

class Writer {
 public:
  Writer(const DirectTarget& target, QRgb pixel)
      : bits_(reinterpret_cast<QRgb*>(target.image->bits())),
        perLine_(target.image->bytesPerLine() / static_cast<qsizetype>(sizeof(QRgb))),
        left_(target.clip.boundingRect().left()),
        right_(target.clip.boundingRect().right()),
        top_(target.clip.boundingRect().top()),
        bottom_(target.clip.boundingRect().bottom()),
        pixel_(pixel) {}

  void Put(int x, int y) const {
    if (x >= left_ && x <= right_ && y >= top_ && y <= bottom_) bits_[y * perLine_ + x] = pixel_;
  }

  // One pixel a row from the top end to the bottom one, each end reaching half a pixel on.
  void Steep(int x1, int y1, int x2, int y2) const {
    if (y1 > y2) {
      std::swap(x1, x2);
      std::swap(y1, y2);
    }
    const int step = Step(x2 - x1, y2 - y1);
    int x = x1 * 1024 - (step >> 1);
    y1 -= 32;
    y2 += 32;
    int y = (y1 + 32) >> 6;
    const int end = (y2 + 32) >> 6;
    if (y == end) return;
    x += (y * 64 + (step > 0 ? 32 : 0) - y1) * step >> 6;
    for (; y < end; ++y, x += step) Put(x >> 16, y);
  }

  // The same along the columns.
  void Flat(int x1, int y1, int x2, int y2) const {
    if (x1 == x2) return;
    if (x1 > x2) {
      std::swap(x1, x2);
      std::swap(y1, y2);
    }
    const int step = Step(y2 - y1, x2 - x1);
    int y = y1 * 1024 - (step >> 1);
    x1 -= 32;
    x2 += 32;
    int x = (x1 + 32) >> 6;
    const int end = (x2 + 32) >> 6;
    if (x == end) return;
    y += (x * 64 + (step > 0 ? 32 : 0) - x1) * step >> 6;
    for (; x < end; ++x, y += step) Put(x, y >> 16);
  }

 private:
  QRgb* bits_;
  qsizetype perLine_;
  int left_, right_, top_, bottom_;
  QRgb pixel_;
};

}  // namespace

void WriteThinLines(const DirectTarget& target, QRgb pixel, const QVector<QLineF>& lines,
                    QVector<QLineF>& rest) {
  if (target.clip.rectCount() != 1) {
    rest += lines;
    return;
  }
  const Writer writer(target, pixel);
  // The engine cuts lines that leave the image by a pixel or two, which moves their steps.
  const QRectF uncut(-1, -1, target.image->width() + 2, target.image->height() + 2);
  const QPointF offset(target.offset);
  for (const QLineF& line : lines) {
    const QPointF a = line.p1() + offset, b = line.p2() + offset;
    if (line.p1() == line.p2()) {
      writer.Put(qRound(a.x()), qRound(a.y()));
      continue;
    }
    if (!(a.x() >= uncut.left() && a.x() <= uncut.right() && a.y() >= uncut.top() &&
          a.y() <= uncut.bottom() && b.x() >= uncut.left() && b.x() <= uncut.right() &&
          b.y() >= uncut.top() && b.y() <= uncut.bottom())) {
      rest.append(line);
      continue;
    }
    const int x1 = Sixtyfourths(a.x()), y1 = Sixtyfourths(a.y());
    const int x2 = Sixtyfourths(b.x()), y2 = Sixtyfourths(b.y());
    if (std::abs(x2 - x1) < std::abs(y2 - y1)) {
      writer.Steep(x1, y1, x2, y2);
    } else {
      writer.Flat(x1, y1, x2, y2);
    }
  }
}

}  // namespace tarnwell
