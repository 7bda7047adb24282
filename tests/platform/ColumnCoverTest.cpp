// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <QImage>
#include <QPainter>

#include "platform/qt/ColumnCover.h"

namespace tarnwell::testing {
namespace {

int Painted(ColumnCover& cover, int width, int height) {
  QImage image(width, height, QImage::Format_ARGB32_Premultiplied);
  image.fill(Qt::black);
  {
    QPainter painter(&image);
    cover.Paint(painter, Qt::white);
  }
  int count = 0;
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) count += image.pixel(x, y) == QColor(Qt::white).rgb();
  }
  return count;
}

TEST(ColumnCover, TakesOnlySegmentsThatTouchWhatTheirColumnCovers) {
  ColumnCover cover(8, 10);
  EXPECT_TRUE(cover.Add(QPointF(2.2, 0.5), QPointF(2.6, 1.5)));
  EXPECT_TRUE(cover.Add(QPointF(2.6, 1.5), QPointF(2.4, 2.5)));
  // Rows 6 and 7 leave a gap below row 2: that segment is drawn as a line of its own.
  EXPECT_FALSE(cover.Add(QPointF(2.3, 6.5), QPointF(2.5, 7.5)));
  EXPECT_FALSE(cover.Add(QPointF(2.0, 1.0), QPointF(4.0, 1.0)));
  // Outside the picture nothing is covered.
  EXPECT_TRUE(cover.Add(QPointF(-5.2, 1), QPointF(-5.1, 3)));
  EXPECT_TRUE(cover.Add(QPointF(9.2, 1), QPointF(9.1, 3)));
  EXPECT_EQ(Painted(cover, 8, 10), 3);
  EXPECT_EQ(Painted(cover, 8, 10), 0) << "painting starts it empty again";
}

}  // namespace
}  // namespace tarnwell::testing
