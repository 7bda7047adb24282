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

  // One pixel a row (`steep`) or a column along the line's longer extent, `along` from the lower
  // end to the higher one and `across` stepping with it, each end reaching half a pixel on.
  void Walk(int along1, int across1, int along2, int across2, bool steep) const {
    if (along1 == along2) return;
    if (along1 > along2) {
      std::swap(along1, along2);
      std::swap(across1, across2);
    }
    const int step = Step(across2 - across1, along2 - along1);
    int across = across1 * 1024 - (step >> 1);
    along1 -= 32;
    along2 += 32;
    int at = (along1 + 32) >> 6;
    const int end = (along2 + 32) >> 6;
    if (at == end) return;
    across += (at * 64 + (step > 0 ? 32 : 0) - along1) * step >> 6;
    for (; at < end; ++at, across += step) {
      if (steep) {
        Put(across >> 16, at);
      } else {
        Put(at, across >> 16);
      }
    }
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
      writer.Walk(y1, x1, y2, x2, true);
    } else {
      writer.Walk(x1, y1, x2, y2, false);
    }
  }
}

}  // namespace tarnwell
