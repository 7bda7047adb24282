// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <QImage>
#include <QPainter>

#include "platform/qt/ColumnCover.h"

namespace tarnwell::testing {
namespace {

TEST(ColumnCover, TakesOnlySegmentsThatTouchWhatTheirColumnCovers) {
  ColumnCover cover(8, 10);
  // Rows 6 and 7 leave a gap below row 2, and a flat segment spans columns: both are drawn as
  // lines of their own. Outside the picture nothing is covered.
  EXPECT_EQ((std::vector{cover.Add({2.2, 0.5}, {2.6, 1.5}), cover.Add({2.6, 1.5}, {2.4, 2.5}),
                         cover.Add({2.3, 6.5}, {2.5, 7.5}), cover.Add({2.0, 1.0}, {4.0, 1.0}),
                         cover.Add({-5.2, 1}, {-5.1, 3}), cover.Add({9.2, 1}, {9.1, 3})}),
            (std::vector{true, true, false, false, true, true}));
  for (const int painted : {3, 0}) {  // painting starts it empty again
    QImage image(8, 10, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::black);
    QPainter painter(&image);
    cover.Paint(painter, Qt::white);
    painter.end();
    int count = 0;
    for (int i = 0; i < 80; ++i) count += image.pixel(i % 8, i / 8) == qRgb(255, 255, 255);
    EXPECT_EQ(count, painted);
  }
}

}  // namespace
}  // namespace tarnwell::testing
