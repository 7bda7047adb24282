// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <QImage>
#include <QPainter>
#include <functional>

#include "platform/qt/ColumnCover.h"
#include "platform/qt/DirectFill.h"

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

// Pixels go straight into the image only where the painter would put exactly them there.
TEST(DirectFill, OnlyForAPlainPainterAndAnOpaqueColour) {
  const std::vector<std::pair<const char*, std::function<void(QPainter&, QColor&)>>> cases = {
      {"translucent colour", [](QPainter&, QColor& c) { c.setAlpha(128); }},
      {"clip set by hand", [](QPainter& p, QColor&) { p.setClipRect(1, 1, 4, 4); }},
      {"half opacity", [](QPainter& p, QColor&) { p.setOpacity(0.5); }},
      {"blending",
       [](QPainter& p, QColor&) { p.setCompositionMode(QPainter::CompositionMode_Multiply); }},
      {"scaled", [](QPainter& p, QColor&) { p.scale(2, 2); }},
      {"half-pixel shift", [](QPainter& p, QColor&) { p.translate(0.5, 0); }},
  };
  for (const auto& [what, change] : cases) {
    QImage image(8, 8, QImage::Format_RGB32);
    QPainter painter(&image);
    QColor color(Qt::green);
    painter.translate(2, 3);
    const auto plain = DirectTargetOf(painter, color);
    ASSERT_TRUE(plain) << what;
    EXPECT_EQ(plain->offset, QPoint(2, 3));
    change(painter, color);
    EXPECT_FALSE(DirectTargetOf(painter, color)) << what;
  }
}

}  // namespace
}  // namespace tarnwell::testing
