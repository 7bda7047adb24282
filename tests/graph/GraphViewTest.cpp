// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <QApplication>
#include <QMouseEvent>
#include <QPainter>
#include <algorithm>
#include <cmath>
#include <map>
#include <tuple>

#include "Golden.h"
#include "QtTestApplication.h"
#include "graph/GraphView.h"
#include "graph/TracePlot.h"
#include "graph/qt/QtGraphWidget.h"

namespace tarnwell::testing {
namespace {

[[maybe_unused]] const auto* const kQt = AddGlobalTestEnvironment(new QtTestApplication);

const QRgb kGreen = qRgb(0, 255, 0);

// The pixels of `image` as characters, one row a line: each colour of `legend` by its character,
// any other colour '?'.
std::string Pixels(const QImage& image, const std::map<QRgb, char>& legend) {
  std::string out;
  for (int y = 0; y < image.height(); ++y, out += '\n') {
    for (int x = 0; x < image.width(); ++x) {
      const auto it = legend.find(image.pixel(x, y));
      out += it == legend.end() ? '?' : it->second;
    }
  }
  return out;
}

// `widget` painted on a `width` by `height` image of device pixel ratio `ratio`, filled with
// magenta before, at `at` and only within `region` when one is given.
QImage Render(QWidget& widget, int width, int height, int ratio = 1, QPoint at = {},
              const QRegion& region = {}) {
  QImage image(QSize(width, height) * ratio, QImage::Format_RGB32);
  image.setDevicePixelRatio(ratio);
  image.fill(Qt::magenta);
  widget.render(&image, at, region);
  return image;
}

// The widget's own rules for each kind of line, on a 24 by 10 pixel picture (15 twips a pixel):
// a dense trace as the rows it covers, level and upright lines as rectangles of the screen's
// pixels, others and wide ones by the painter; joined lines of another colour, width or place
// start afresh. A picture without clearing shows its background colour.
TEST(GraphWidget, PaintsEachKindOfLineAsTheGoldenShows) {
  QtGraphWidget widget;
  widget.SetUnits(Twips{96});
  widget.resize(24, 10);
  DrawList& p = widget.Picture();
  const DrawColor trace{0, 255, 0}, level{255, 255, 0}, slant{255, 0, 0}, back{0, 0, 255};
  const auto line = [&](double x1, double y1, double x2, double y2, DrawColor c, int pen = 1) {
    p.SetPenWidth(pen);
    p.Line(x1 * 15, y1 * 15, x2 * 15, y2 * 15, c);
  };
  p.Clear(back);
  for (int i = 0; i < 12; ++i)
    line(1 + i * 0.25, i % 2 ? 7.5 : 1.5, 1.25 + i * 0.25, i % 2 ? 1.5 : 7.5, trace);
  line(6, 2, 14, 2, level), line(14, 2, 14, 8.5, level);
  line(16, 8, 22, 1, slant);
  line(6, 5, 12, 5, level, 2);
  line(6, 7, 9, 7, level), line(9, 7, 12, 9, slant), line(12, 9, 13, 6, slant, 2);
  line(15, 9, 16.5, 9, level), line(18.5, 9, 20, 9, level);
  const std::map<QRgb, char> legend{{qRgb(0, 0, 255), '.'},   {kGreen, '#'},
                                    {qRgb(255, 255, 0), '-'}, {qRgb(255, 0, 0), '/'},
                                    {qRgb(255, 0, 255), ':'}, {qRgb(0, 0, 0), ' '}};
  std::string dump = "# ratio 1\n" + Pixels(Render(widget, 24, 10), legend) + "# ratio 2\n" +
                     Pixels(Render(widget, 24, 10, 2), legend) + "# (4,1) 12x6 painted at (3,2)\n" +
                     Pixels(Render(widget, 24, 10, 1, {3, 2}, QRegion(4, 1, 12, 6)), legend);
  widget.Picture() = DrawList();
  line(2, 2, 20, 2, level);
  dump += "# not cleared\n" + Pixels(Render(widget, 24, 4), legend);
  EXPECT_TRUE(MatchesGolden("graph/golden/GraphWidget.txt", dump));
}

// Which of a 441 by 265 picture's widget pixels, from the 60th column (right of the value labels)
// on, have green in any of the image's pixels of that place.
using Green = std::vector<std::vector<bool>>;
Green GreenOf(const QImage& image) {
  const int r = static_cast<int>(image.devicePixelRatio());
  Green green(441, std::vector<bool>(265));
  for (int x = 60 * r; x < image.width(); ++x)
    for (int y = 0; y < image.height(); ++y)
      if (image.pixel(x, y) == kGreen) green[x / r][y / r] = true;
  return green;
}

// Green pixels of either picture with no green in the other beside them: in the next column or
// their own, `rows` rows up or down at most.
int Astray(const Green& a, const Green& b, int rows) {
  const auto near = [rows](const Green& in, int x, int y) {
    for (int i = std::max(x - 1, 0); i <= std::min(x + 1, 440); ++i)
      for (int j = std::max(y - rows, 0); j <= std::min(y + rows, 264); ++j)
        if (in[i][j]) return true;
    return false;
  };
  int astray = 0;
  for (int x = 0; x < 441; ++x)
    for (int y = 0; y < 265; ++y)
      astray += (a[x][y] && !near(b, x, y)) + (b[x][y] && !near(a, x, y));
  return astray;
}

double Flat(int, unsigned) { return 600; }
double Noisy(int, unsigned noise) { return 500.0 + noise % 400; }
double Wavy(int i, unsigned noise) {
  return 300 * std::sin(i * 0.004) + noise % 97 + (i % 500 == 0 ? 400 : 0);
}
// Beyond the fixed range 0..1000 now and then, two samples far above, two far below.
double Wild(int i, unsigned noise) {
  return i % 300 < 4 ? (i % 300 < 2 ? 1e12 : -1e12) : Noisy(i, noise);
}

// Real ticks on a 441 by 265 pixel graph (6615 by 3975 twips at 96 dots per inch), with the view
// that zooms it.
class GraphViewTest : public ::testing::Test {
 protected:
  GraphViewTest() {
    widget.SetUnits(Twips{96});
    widget.resize(441, 265);
    EXPECT_EQ(widget.Picture().Height(), 3975);  // brought up to date for the view
    config.LineColor = Rgb{0, 255, 0};
  }
  void Tick(int samples, double (*value)(int i, unsigned noise)) {
    history.Resize(samples);
    unsigned noise = 7;
    for (int i = 0; i < samples; ++i)
      history.SetSlot(i, value(i, (noise = noise * 1103515245u + 12345u) >> 16));
    history.SetSampleIndex(1234 % samples);
    const GraphRange range = ComputeRange(history, config, regional);
    DrawList xaxis, testPic;
    TracePlot::Draw(
        PlotInputs{history, config, format, regional, range, range.Max - range.Min,
                   view.GraphMouseX(), view.GraphMouseY(), [this] { view.DrawGuideLines(); }},
        widget.Picture(), xaxis, testPic);
  }
  // The picture's lines as the painter draws them one by one.
  QImage PainterLines() const {
    QImage image(441, 265, QImage::Format_RGB32);
    QPainter painter(&image);
    for (const DrawOp& op : widget.Picture().Ops()) {
      const QColor color(op.color.red, op.color.green, op.color.blue);
      if (op.kind == DrawOp::Kind::kClear) painter.fillRect(image.rect(), color);
      if (op.kind != DrawOp::Kind::kLine) continue;
      QPen pen(color, op.penWidth);
      pen.setCosmetic(true);
      painter.setPen(pen);
      painter.drawLine(QPointF(op.x1, op.y1) / 15, QPointF(op.x2, op.y2) / 15);
    }
    return image;
  }
  // The range {min, max} after a zoom click on min..max with the pointer last at `y`.
  std::vector<double> ClickAt(double min, double max, double y, int button) {
    config.GraphMin = Value::Double(min);
    config.GraphMax = max;
    view.PointerMoved(100, y);
    view.PointerPressed(button);
    return {config.GraphMin.NumberOr(regional, -12345), config.GraphMax};
  }

  Regional regional;
  AppConfig config;
  SampleHistory history;
  std::string format = "#0";
  QtGraphWidget widget;
  GraphView view{config, history, widget.Picture(), regional};
};

// A trace of more samples than pixel columns is painted as the rows it covers in each column:
// the pixels of the painter's own lines, but for where a steep line crosses into the next
// column. With fewer samples it is the painter's lines, grid and marker included, pixel for pixel.
// On a screen of twice the pixels the picture is the same, twice as large.
TEST_F(GraphViewTest, TracesArePaintedAsThePaintersLinesAtEitherPixelRatio) {
  const std::tuple<int, int, double (*)(int, unsigned)> traces[] = {
      {100, 0, Flat},   {97, 1, Noisy},  {300, 0, Wavy},  {400, 1, Wild},
      {4000, 1, Noisy}, {3000, 0, Wavy}, {3000, 1, Wavy}, {9999, 0, Wild}};
  for (const auto& [samples, mode, value] : traces) {
    config.LineMode = mode;
    config.Expanded = value == Wild ? 0 : 1;
    Tick(samples, value);
    const QImage painted = Render(widget, 441, 265), lines = PainterLines();
    if (samples < 441) {
      EXPECT_EQ(painted.copy(60, 0, 381, 265), lines.copy(60, 0, 381, 265)) << samples;
    } else {
      EXPECT_EQ(Astray(GreenOf(painted), GreenOf(lines), 0), 0) << samples << " mode " << mode;
    }
    // The sweeping marker, one screen pixel wide, hides less of the trace at twice the pixels.
    if (mode == 0) EXPECT_EQ(Astray(GreenOf(Render(widget, 441, 265, 2)), GreenOf(painted), 1), 0);
  }
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
    counter.paints = 0;  // the grab's own
    return std::pair(paints, image);
  };
  const auto none = show(""), eight = show("8"), again = show("8"), one = show("1");
  QtGraphWidget fresh;
  fresh.resize(widget.size());
  fresh.Picture() = widget.Picture();
  EXPECT_EQ(std::tuple(eight.first, again.first, one.first), std::tuple(1, 0, 1));
  EXPECT_NE(eight.second, none.second);
  EXPECT_NE(one.second, eight.second);
  EXPECT_EQ(one.second, fresh.grab().toImage());
}

// Pointer events reach the view in twips, with the buttons numbered as the view knows them.
TEST(GraphWidget, PassesPointerEventsInTwips) {
  QtGraphWidget widget;
  std::vector<double> seen;  // moves as x and y, presses as button, double clicks as -1
  widget.SetMouseMoveHandler([&](double x, double y) { seen.insert(seen.end(), {x, y}); });
  widget.SetMouseDownHandler([&](int b, double x, double y) {
    seen.insert(seen.end(), {b + 0.0, x, y});
  });
  widget.SetDoubleClickHandler([&] { seen.push_back(-1); });
  const auto send = [&](QEvent::Type type, Qt::MouseButton button, QPointF at) {
    QMouseEvent event(type, at, widget.mapToGlobal(at), button, button, Qt::NoModifier);
    QApplication::sendEvent(&widget, &event);
  };
  send(QEvent::MouseMove, Qt::NoButton, QPointF(30, 40));
  for (auto b : {Qt::LeftButton, Qt::RightButton, Qt::MiddleButton, Qt::BackButton}) {
    send(QEvent::MouseButtonPress, b, QPointF(1, 2));
  }
  send(QEvent::MouseButtonDblClick, Qt::LeftButton, QPointF(1, 1));
  EXPECT_EQ(seen, (std::vector<double>{450, 600, 1, 15, 30, 2, 15, 30, 4, 15, 30, -1}));
}

// The pointer is lifted by 380: with outer height 3975 the sides meet at 1987.5 + 380.
TEST_F(GraphViewTest, ZoomClicksHalveOrExtendTheRangeOnTheSideClicked) {
  EXPECT_EQ(view.GraphMouseY(), -380);
  view.ZoomButtonPressed(1);
  const double upper = 500, lower = 3000;
  // min, max, pointer y, button, wanted range.
  const std::tuple<double, double, double, int, std::vector<double>> cases[] = {
      {0, 1000, upper, 1, {500, 1000}}, {0, 1000, lower, 1, {0, 500}},
      {0, 1000, upper, 2, {0, 1500}},   {0, 1000, lower, 2, {-500, 1000}},
      {5, 5, upper, 2, {5, 6.5}},       {5, 5, lower, 2, {5, 5}},
      {0, 1000, upper, 4, {0, 1000}},   {0, 1000, 2367, 1, {500, 1000}},
      {0, 1000, 2367.5, 1, {0, 500}},
  };
  for (const auto& [min, max, y, button, want] : cases) {
    EXPECT_EQ(ClickAt(min, max, y, button), want)
        << min << ".." << max << " y " << y << " b " << button;
  }
  // Zooming into the lower half leaves a bound read from config.ini as it was written.
  config.GraphMin = Value::Text("0");
  config.GraphMax = 1000;
  view.PointerPressed(1);
  EXPECT_EQ(std::pair(config.GraphMin.IsText(), config.GraphMax), std::pair(true, 500.0));
  view.ZoomButtonPressed(1);
  EXPECT_EQ(ClickAt(0, 1000, 100, 1), (std::vector<double>{0, 1000})) << "zoom mode off";
}

// The zoom button's left or middle button toggles the zoom mode and its pointer; a double click
// flattens the trace, but not while zooming. The right button fits the range to the readings.
TEST_F(GraphViewTest, ZoomButtonTogglesModeAndPointerAndRightButtonFitsTheData) {
  history.Resize(5);
  for (int i = 0; i <= 5; ++i) history.SetSlot(i, -1 - i);
  history.SetSampleIndex(3);
  std::vector<int> states{view.ZoomMode(), int(view.MousePointer())};
  for (int button : {1, 4}) {
    view.ZoomButtonPressed(button);
    view.ResetTrace();
    states.insert(states.end(), {view.ZoomMode(), int(view.MousePointer()), history.SampleIndex()});
  }
  const int arrow = int(PointerStyle::kDefault), sizeAll = int(PointerStyle::kSizeAll);
  EXPECT_EQ(states, (std::vector<int>{0, arrow, 1, sizeAll, 3, 0, arrow, 0}));
  EXPECT_EQ(history.Samples(), (std::vector<double>{-3, -3, -3, -3, -3, -6}));
  // The fit looks at all but the last element, and its top never falls below 0.
  view.ZoomButtonPressed(2);
  EXPECT_EQ(std::pair(config.GraphMin.NumberOr(regional, 1), config.GraphMax),
            std::pair(-3.0, 0.0));
}

}  // namespace
}  // namespace tarnwell::testing
