// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/qt/ColumnCover.h"

#include <QPainter>
#include <QRect>
#include <algorithm>
#include <bit>
#include <cmath>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include "platform/qt/DirectFill.h"

namespace tarnwell {
namespace {

constexpr int kEmptyTop = 1 << 30;

// A word's few covered pixels are written one by one; many, four at a time without a branch on
// each: a dense trace covers runs of a few pixels of random length, which a branch per run or
// pixel mispredicts.
constexpr int kFewPixels = 12;

int Count(std::uint64_t word) {
  word -= (word >> 1) & 0x5555555555555555u;
  word = (word & 0x3333333333333333u) + ((word >> 2) & 0x3333333333333333u);
  word = (word + (word >> 4)) & 0x0f0f0f0f0f0f0f0fu;
  return static_cast<int>((word * 0x0101010101010101u) >> 56);
}

#if defined(__SSE2__)
// The pixels each set of four neighbouring columns covers, as a mask.
struct NibbleMasks {
  __m128i of[16];
};
const NibbleMasks kNibbleMasks = [] {
  NibbleMasks masks;
  for (int n = 0; n < 16; ++n) {
    masks.of[n] = _mm_set_epi32(-(n >> 3 & 1), -(n >> 2 & 1), -(n >> 1 & 1), -(n & 1));
  }
  return masks;
}();
#endif

void SetBits(QRgb* at, std::uint64_t word, QRgb pixel) {
  for (; word != 0; word &= word - 1) at[std::countr_zero(word)] = pixel;
}

// Writes `pixel` to the 64 pixels from `at` whose bits are set in `word`.
void BlendWord(QRgb* at, std::uint64_t word, QRgb pixel) {
#if defined(__SSE2__)
  if (Count(word) > kFewPixels) {
    const __m128i fill = _mm_set1_epi32(static_cast<int>(pixel));
    for (int b = 0; b < 64; b += 4) {
      const __m128i mask = kNibbleMasks.of[(word >> b) & 0xf];
      auto* const four = reinterpret_cast<__m128i*>(at + b);
      const __m128i old = _mm_loadu_si128(four);
      _mm_storeu_si128(four, _mm_or_si128(_mm_andnot_si128(mask, old), _mm_and_si128(mask, fill)));
    }
    return;
  }
#endif
  SetBits(at, word, pixel);
}

// Writes the 64 pixels from `at`: `pixel` where `word` has the bit set, `ground` elsewhere.
void FillWord(QRgb* at, std::uint64_t word, QRgb pixel, QRgb ground) {
#if defined(__SSE2__)
  const __m128i back = _mm_set1_epi32(static_cast<int>(ground));
  if (Count(word) > kFewPixels) {
    const __m128i fill = _mm_set1_epi32(static_cast<int>(pixel));
    for (int b = 0; b < 64; b += 4) {
      const __m128i mask = kNibbleMasks.of[(word >> b) & 0xf];
      _mm_storeu_si128(reinterpret_cast<__m128i*>(at + b),
                       _mm_or_si128(_mm_andnot_si128(mask, back), _mm_and_si128(mask, fill)));
    }
    return;
  }
  for (int b = 0; b < 64; b += 4) _mm_storeu_si128(reinterpret_cast<__m128i*>(at + b), back);
#else
  std::fill_n(at, 64, ground);
#endif
  SetBits(at, word, pixel);
}

}  // namespace

ColumnCover::ColumnCover(int width, int height)
    : width_(std::max(width, 0)),
      height_(std::max(height, 0)),
      top_(static_cast<std::size_t>(width_), kEmptyTop),
      bottom_(static_cast<std::size_t>(width_), -1) {}

ColumnCover::Rows ColumnCover::RowsOf(double y1, double y2) const {
  return Span(std::floor(std::min(y1, y2)), std::floor(std::max(y1, y2)));
}

ColumnCover::Rows ColumnCover::Span(double low, double high) const {
  if (high < low || high < 0 || low >= height_) return {kEmptyTop, -1};
  return {static_cast<int>(std::max(low, 0.0)),
          static_cast<int>(std::min(high, static_cast<double>(height_ - 1)))};
}

bool ColumnCover::Joins(int column, Rows rows) const {
  if (column < 0 || column >= width_ || rows.top > rows.bottom) return true;
  const auto c = static_cast<std::size_t>(column);
  if (top_[c] > bottom_[c]) return true;
  return rows.top <= bottom_[c] + 1 && rows.bottom >= top_[c] - 1;
}

void ColumnCover::Extend(int column, Rows rows) {
  if (column < 0 || column >= width_ || rows.top > rows.bottom) return;
  const auto c = static_cast<std::size_t>(column);
  if (top_[c] > bottom_[c]) used_.push_back(column);
  top_[c] = std::min(top_[c], rows.top);
  bottom_[c] = std::max(bottom_[c], rows.bottom);
}

bool ColumnCover::Add(QPointF a, QPointF b) {
  const double dx = b.x() - a.x();
  if (!(std::fabs(dx) < 1)) return false;
  const double ca = std::floor(a.x()), cb = std::floor(b.x());
  if (ca == cb) {
    const Rows rows = RowsOf(a.y(), b.y());
    if (!Joins(static_cast<int>(ca), rows)) return false;
    Extend(static_cast<int>(ca), rows);
    return true;
  }
  // Into the neighbouring column at `y`: each row goes to the side its middle lies on, as a
  // steep line is drawn, one pixel a row.
  const double edge = std::max(ca, cb);
  const double y = a.y() + (edge - a.x()) * (b.y() - a.y()) / dx;
  const double k = std::ceil(y - 0.5);
  const double upper = std::floor(std::min(a.y(), b.y())),
               lower = std::floor(std::max(a.y(), b.y()));
  const Rows above = Span(upper, k - 1), below = Span(k, lower);
  const Rows first = a.y() <= b.y() ? above : below, second = a.y() <= b.y() ? below : above;
  if (!Joins(static_cast<int>(ca), first) || !Joins(static_cast<int>(cb), second)) return false;
  Extend(static_cast<int>(ca), first);
  Extend(static_cast<int>(cb), second);
  return true;
}

int ColumnCover::PrevClear(int column) const {
  std::size_t w = static_cast<std::size_t>(column) / 64;
  std::uint64_t clear = ~bits_[w] & ((std::uint64_t{1} << (column % 64)) - 1);
  while (clear == 0) {
    if (w == 0) return -1;
    clear = ~bits_[--w];
  }
  return static_cast<int>(w * 64) + 63 - std::countl_zero(clear);
}

int ColumnCover::NextClear(int column) const {
  std::size_t w = static_cast<std::size_t>(column) / 64;
  const int b = column % 64;
  std::uint64_t clear = b == 63 ? 0 : ~bits_[w] & ~((std::uint64_t{2} << b) - 1);
  while (clear == 0) {
    if (++w == bits_.size()) return width_;
    clear = ~bits_[w];
  }
  return std::min(static_cast<int>(w * 64) + std::countr_zero(clear), width_);
}

void ColumnCover::Paint(QPainter& painter, const QColor& color, const QRegion* within) {
  if (!used_.empty()) {
    if (const auto target = DirectTargetOf(painter, color)) {
      PaintRows(*target, within ? target->clip & within->translated(target->offset) : target->clip,
                color.rgba(), std::nullopt);
    } else {
      painter.save();
      if (within) painter.setClipRegion(*within, Qt::IntersectClip);
      PaintRects(painter, color);
      painter.restore();
    }
  }
  for (const int c : used_) {
    top_[static_cast<std::size_t>(c)] = kEmptyTop;
    bottom_[static_cast<std::size_t>(c)] = -1;
  }
  used_.clear();
}

bool ColumnCover::PaintOnGround(QPainter& painter, const QColor& color, const QColor& ground) {
  // A few covered pixels save nothing on the fill they would replace.
  std::int64_t covered = 0;
  for (const int c : used_) {
    covered += bottom_[static_cast<std::size_t>(c)] - top_[static_cast<std::size_t>(c)] + 1;
  }
  if (covered * 16 < std::int64_t{width_} * height_) return false;
  const auto target = DirectTargetOf(painter, color);
  if (!target || !DirectTargetOf(painter, ground)) return false;
  PaintRows(*target, target->clip, color.rgba(), ground.rgba());
  return true;
}

// Row after row, each row's covered columns taken from a bit set kept up to date as columns
// start and end: the writes go along the image's memory, never down it a row's stride at a time.
// `region` (image pixels) comes in bands of rectangles of equal rows, top to bottom.
void ColumnCover::PaintRows(const DirectTarget& target, const QRegion& region, QRgb pixel,
                            std::optional<QRgb> ground) {
  SortColumns();
  const std::size_t half = used_.size();
  uchar* const bits = target.image->bits();
  const qsizetype stride = target.image->bytesPerLine();
  const int dx = target.offset.x(), dy = target.offset.y();
  int next = height_;  // the first row whose columns are not in bits_ yet
  const auto advanceTo = [&](int row) {
    if (row < next) {
      bits_.assign((static_cast<std::size_t>(width_) + 63) / 64, 0);
      next = 0;
    }
    for (; next <= row; ++next) {
      const auto r = static_cast<std::size_t>(next);
      for (int k = starts_[r]; k < starts_[r + 1]; ++k) {
        const int c = order_[static_cast<std::size_t>(k)];
        bits_[static_cast<std::size_t>(c) / 64] |= std::uint64_t{1} << (c % 64);
      }
      for (int k = ends_[r]; k < ends_[r + 1]; ++k) {
        const int c = order_[half + static_cast<std::size_t>(k)];
        bits_[static_cast<std::size_t>(c) / 64] &= ~(std::uint64_t{1} << (c % 64));
      }
    }
  };
  const auto* rect = region.begin();
  while (rect != region.end()) {
    const auto* bandEnd = rect;
    while (bandEnd != region.end() && bandEnd->top() == rect->top() &&
           bandEnd->bottom() == rect->bottom()) {
      ++bandEnd;
    }
    const int top = std::max(rect->top() - dy, 0);
    const int end = std::min(rect->bottom() - dy + 1, height_);
    for (int row = top; row < end; ++row) {
      advanceTo(row);
      QRgb* const line = reinterpret_cast<QRgb*>(bits + (row + dy) * stride) + dx;
      for (const auto* r = rect; r != bandEnd; ++r) {
        const int first = std::max(r->left() - dx, 0);
        const int last = std::min(r->right() - dx, width_ - 1);
        if (first <= last) WriteRow(line, first, last, pixel, ground);
      }
    }
    rect = bandEnd;
  }
}

// Columns `first` to `last` of one row: the covered ones get `pixel`, the others `ground` or,
// without one, keep theirs.
void ColumnCover::WriteRow(QRgb* line, int first, int last, QRgb pixel,
                           std::optional<QRgb> ground) const {
  const auto firstWord = static_cast<std::size_t>(first / 64);
  const auto lastWord = static_cast<std::size_t>(last / 64);
  for (std::size_t w = firstWord; w <= lastWord; ++w) {
    const std::uint64_t word = bits_[w];
    QRgb* const at = line + w * 64;
    const int from = w == firstWord ? first % 64 : 0;
    const int to = w == lastWord ? last % 64 : 63;
    if (from == 0 && to == 63) {
      if (ground) {
        FillWord(at, word, pixel, *ground);
      } else if (word != 0) {
        BlendWord(at, word, pixel);
      }
      continue;
    }
    for (int b = from; b <= to; ++b) {
      if ((word >> b) & 1) {
        at[b] = pixel;
      } else if (ground) {
        at[b] = *ground;
      }
    }
  }
}

// Columns by the row their span starts at, and by the row after it ends (counting sort):
// order_ holds the first, then the second; starts_ and ends_ where each row's share begins.
void ColumnCover::SortColumns() {
  const auto sortBy = [&](std::vector<int>& offsets, auto key) {
    offsets.assign(static_cast<std::size_t>(height_) + 2, 0);
    for (const int c : used_) ++offsets[static_cast<std::size_t>(key(c)) + 1];
    for (std::size_t r = 1; r < offsets.size(); ++r) offsets[r] += offsets[r - 1];
  };
  const auto topOf = [&](int c) { return top_[static_cast<std::size_t>(c)]; };
  const auto endOf = [&](int c) { return bottom_[static_cast<std::size_t>(c)] + 1; };
  sortBy(starts_, topOf);
  sortBy(ends_, endOf);
  order_.assign(used_.size() * 2, 0);
  std::vector<int> fillStart(starts_.begin(), starts_.end() - 1);
  std::vector<int> fillEnd(ends_.begin(), ends_.end() - 1);
  const std::size_t half = used_.size();
  for (const int c : used_) {
    order_[static_cast<std::size_t>(fillStart[static_cast<std::size_t>(topOf(c))]++)] = c;
    order_[half + static_cast<std::size_t>(fillEnd[static_cast<std::size_t>(endOf(c))]++)] = c;
  }
}

void ColumnCover::PaintRects(QPainter& painter, const QColor& color) {
  SortColumns();
  const auto topOf = [&](int c) { return top_[static_cast<std::size_t>(c)]; };
  const auto endOf = [&](int c) { return bottom_[static_cast<std::size_t>(c)] + 1; };
  const std::size_t half = used_.size();
  bits_.assign((static_cast<std::size_t>(width_) + 63) / 64, 0);

  // Runs of covered columns. A run, known by its first column, is painted as one rectangle when
  // it changes shape, so that what stays the same over many rows costs one.
  from_.assign(static_cast<std::size_t>(width_), 0);
  QVector<QRect> rects;
  int row = 0;
  const auto close = [&](int first, int last) {
    const int top = from_[static_cast<std::size_t>(first)];
    if (row > top) rects.append(QRect(first, top, last - first + 1, row - top));
  };
  std::size_t nextStart = 0, nextEnd = 0;
  while (nextEnd < half) {
    row = nextStart < half ? std::min(topOf(order_[nextStart]), endOf(order_[half + nextEnd]))
                           : endOf(order_[half + nextEnd]);
    for (; nextStart < half && topOf(order_[nextStart]) == row; ++nextStart) {
      const int c = order_[nextStart];
      const int first = PrevClear(c) + 1, last = NextClear(c) - 1;
      if (first < c) close(first, c - 1);
      if (last > c) close(c + 1, last);
      bits_[static_cast<std::size_t>(c) / 64] |= std::uint64_t{1} << (c % 64);
      from_[static_cast<std::size_t>(first)] = row;
    }
    for (; nextEnd < half && endOf(order_[half + nextEnd]) == row; ++nextEnd) {
      const int c = order_[half + nextEnd];
      const int first = PrevClear(c) + 1, last = NextClear(c) - 1;
      close(first, last);
      bits_[static_cast<std::size_t>(c) / 64] &= ~(std::uint64_t{1} << (c % 64));
      if (first < c) from_[static_cast<std::size_t>(first)] = row;
      if (last > c) from_[static_cast<std::size_t>(c) + 1] = row;
    }
  }
  painter.save();
  painter.setPen(Qt::NoPen);
  painter.setBrush(color);
  painter.drawRects(rects);
  painter.restore();
}

}  // namespace tarnwell
