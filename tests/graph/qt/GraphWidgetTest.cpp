// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <QApplication>
#include <QMouseEvent>
#include <cstdio>
#include <map>
#include <sstream>
#include <tuple>

#include "Golden.h"
#include "GraphScenes.h"
#include "graph/qt/QtGraphWidget.h"
#include "qt/QtTestApplication.h"

namespace tarnwell::testing {
namespace {

[[maybe_unused]] const auto* const kQt = AddGlobalTestEnvironment(new QtTestApplication);

// Each colour of the pictures by its character in the golden pictures.
const std::map<char, DrawColor> kLegend{{'.', {0, 0, 255}},   {'#', {0, 255, 0}},
                                        {'-', {255, 255, 0}}, {'/', {255, 0, 0}},
                                        {':', {255, 0, 255}}, {' ', {}}};

// `widget` painted on a 24 by 10 image of device pixel ratio `ratio`, filled with magenta before,
// at `at` and only within `region` when one is given, as characters, a pixel each, a row a line;
// a colour not in kLegend as '?'.
std::string Painted(QWidget& widget, int ratio = 1, QPoint at = {}, const QRegion& region = {}) {
  QImage image(QSize(24, 10) * ratio, QImage::Format_RGB32);
  image.setDevicePixelRatio(ratio);
  image.fill(Qt::magenta);
  widget.render(&image, at, region);
  std::string out;
  for (int y = 0; y < image.height(); ++y, out += '\n')
    for (int x = 0; x < image.width(); ++x) {
      out += '?';
      for (const auto& [c, d] : kLegend)
        if (image.pixel(x, y) == qRgb(d.red, d.green, d.blue)) out.back() = c;
    }
  return out;
}

// The widget's own rules for each kind of line, as golden/GraphWidget.txt shows. The picture
// takes the widget's size, hidden or not.
TEST(GraphWidget, PaintsEachKindOfLineAsTheGoldenShows) {
  QtGraphWidget widget;
  widget.SetUnits(Twips{96});
  widget.resize(24, 10);
  EXPECT_EQ(std::pair(widget.Picture().Width(), widget.Picture().Height()),
            std::pair(360.0, 150.0));
  EXPECT_TRUE(MatchesScript("graph/golden/GraphWidget.txt", [&](const std::string& row) {
    DrawList& p = widget.Picture();
    std::istringstream in(row);
    for (std::string t; in >> t;) {
      double x1, y1, x2, y2;
      int pen;
      char c;
      if (t == "new") p = DrawList();
      if (t == "clear") p.Clear(kLegend.at('.'));
      if (std::sscanf(t.c_str(), "%lf,%lf,%lf,%lf,%d,%c", &x1, &y1, &x2, &y2, &pen, &c) < 6)
        continue;
      p.SetPenWidth(pen);
      p.Line(x1 * 15, y1 * 15, x2 * 15, y2 * 15, kLegend.at(c));
    }
    const std::string out = "ratio 1\n" + Painted(widget) + "ratio 2\n" + Painted(widget, 2) +
                            "(4,1) 12x6 painted at (3,2)\n" +
                            Painted(widget, 1, {3, 2}, QRegion(4, 1, 12, 6));
    return out.substr(0, out.size() - 1);
  }));
}

// The rows each column covers, as the Windows picture box must paint them too.
TEST(GraphWidget, CoversTheRowsOfTheGoldenInEachColumn) {
  EXPECT_TRUE(MatchesScript("graph/golden/CoveredRows.txt", [](const std::string& row) {
    QtGraphWidget widget;
    widget.SetUnits(Twips{96});
    widget.resize(GraphScene::kWidth, GraphScene::kHeight);
    widget.Picture() = GraphScene(row).graph;
    QImage image(widget.size(), QImage::Format_RGB32);
    widget.render(&image);
    return GraphScene::CoveredRows([&image](int x, int y) {
      const QRgb c = image.pixel(x, y);
      return DrawColor{std::uint8_t(qRed(c)), std::uint8_t(qGreen(c)), std::uint8_t(qBlue(c))};
    });
  }));
}

// Counts the paint events of the object it watches.
struct PaintCounter : QObject {
  bool eventFilter(QObject*, QEvent* event) override {
    paints += event->type() == QEvent::Paint;
    return false;
  }
  int paints = 0;
};

// A picture is painted again only when it changed, then whole: a text where the last picture had
// another is painted as a fresh widget paints it.
TEST(GraphWidget, RepaintsOnlyAChangedPictureWithItsTexts) {
  QtGraphWidget widget;
  widget.resize(60, 20);
  widget.show();
  PaintCounter counter;
  widget.installEventFilter(&counter);
  const auto show = [&](const char* text) {
    widget.Picture().Clear(DrawColor{});
    if (*text)
      widget.Picture().Text(0, 0, text, DrawFont{"tahoma", 10, true}, DrawColor{255, 255, 255});
    widget.Show();
    QApplication::processEvents();
    const int paints = std::exchange(counter.paints, 0);
    const QImage image = widget.grab().toImage();
    return counter.paints = 0, std::pair(paints, image);  // the grab's own paint not counted
  };
  const auto none = show(""), eight = show("8"), again = show("8"), one = show("1");
  QtGraphWidget fresh;
  fresh.resize(widget.size());
  fresh.Picture() = widget.Picture();
  EXPECT_EQ(std::tuple(eight.first, again.first, one.first), std::tuple(1, 0, 1));
  EXPECT_TRUE(eight.second != none.second && one.second != eight.second);
  EXPECT_EQ(one.second, fresh.grab().toImage());
}

// Pointer events reach the view in twips, with the buttons numbered as the view knows them.
TEST(GraphWidget, PassesPointerEventsInTwips) {
  QtGraphWidget widget;
  std::vector<double> seen;  // moves as x and y, presses as button, double clicks as -1
  widget.SetMouseMoveHandler([&](double x, double y) { seen.insert(seen.end(), {x, y}); });
  widget.SetMouseDownHandler([&](int b, double x, double y) {
    seen.insert(seen.end(), {1. * b, x, y});
  });
  widget.SetDoubleClickHandler([&] { seen.push_back(-1); });
  const auto send = [&](QEvent::Type type, Qt::MouseButton button, QPointF at) {
    QMouseEvent event(type, at, widget.mapToGlobal(at), button, button, Qt::NoModifier);
    QApplication::sendEvent(&widget, &event);
  };
  send(QEvent::MouseMove, Qt::NoButton, QPointF(30, 40));
  for (auto b : {Qt::LeftButton, Qt::RightButton, Qt::MiddleButton, Qt::BackButton})
    send(QEvent::MouseButtonPress, b, QPointF(1, 2));
  send(QEvent::MouseButtonDblClick, Qt::LeftButton, QPointF(1, 1));
  EXPECT_EQ(seen, (std::vector<double>{450, 600, 1, 15, 30, 2, 15, 30, 4, 15, 30, -1}));
}

}  // namespace
}  // namespace tarnwell::testing
