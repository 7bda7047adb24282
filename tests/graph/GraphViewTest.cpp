// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <QApplication>
#include <QMouseEvent>
#include <QPainter>
#include <algorithm>
#include <cmath>
#include <tuple>

#include "QtTestApplication.h"
#include "graph/GraphView.h"
#include "graph/TracePlot.h"
#include "graph/qt/QtGraphWidget.h"

namespace tarnwell {
namespace {

[[maybe_unused]] const auto* const kQt =
    ::testing::AddGlobalTestEnvironment(new testing::QtTestApplication);

const QRgb kGreen = qRgb(0, 255, 0);

// The green pixels of a 441 by 265 picture from the 60th column (right of the value labels) on,
// in pixels of the widget: an image of ratio r has r by r pixels to one of the widget's, green
// where any of them is.
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
double Steps(int i, unsigned) { return i / 20 * 100.0; }
double Noisy(int, unsigned noise) { return 500.0 + noise % 400; }
double Wavy(int i, unsigned noise) {
  return 300 * std::sin(i * 0.004) + noise % 97 + (i % 500 == 0 ? 400 : 0);
}
// Beyond the fixed range 0..1000 now and then, two samples far above, two far below.
double Wild(int i, unsigned noise) {
  return i % 300 < 4 ? (i % 300 < 2 ? 1e12 : -1e12) : Noisy(i, noise);
}

// One real tick on a 441 by 265 pixel graph (6615 by 3975 twips at 96 dots per inch).
class GraphPictureTest : public ::testing::Test {
 protected:
  GraphPictureTest() {
    widget.SetUnits(twips);
    widget.resize(441, 265);
    EXPECT_EQ(widget.Picture().Height(), 3975);  // brought up to date for the view
    xaxis.SetUnits(twips);
    xaxis.resize(441, 9);
    config.LineColor = Rgb{0, 255, 0};
    Fill(100, Flat);
    history.SetSampleIndex(37);
  }
  void Fill(int samples, double (*value)(int i, unsigned noise)) {
    history.Resize(samples);
    unsigned noise = 7;
    for (int i = 0; i < samples; ++i)
      history.SetSlot(i, value(i, (noise = noise * 1103515245u + 12345u) >> 16));
  }
  void Tick() {
    const GraphRange range = ComputeRange(history, config, regional);
    TracePlot::Draw(
        PlotInputs{history, config, format, regional, range, range.Max - range.Min,
                   view.GraphMouseX(), view.GraphMouseY(), [this] { view.DrawGuideLines(); }},
        widget.Picture(), xaxis.Picture(), testPic);
  }
  // The picture as the widget paints it on a screen of device pixel ratio `ratio`.
  QImage Render(int ratio = 1) {
    QImage image(QSize(441, 265) * ratio, QImage::Format_RGB32);
    image.setDevicePixelRatio(ratio);
    widget.render(&image);
    return image;
  }
  // The picture's lines as the painter draws them one by one.
  QImage PainterLines() const {
    QImage image(441, 265, QImage::Format_RGB32);
    QPainter painter(&image);
    const double s = twips.ToPixels(1);
    for (const DrawOp& op : widget.Picture().Ops()) {
      const QColor color(op.color.red, op.color.green, op.color.blue);
      if (op.kind == DrawOp::Kind::kClear) painter.fillRect(image.rect(), color);
      if (op.kind != DrawOp::Kind::kLine) continue;
      QPen pen(color, op.penWidth);
      pen.setCosmetic(true);
      painter.setPen(pen);
      painter.drawLine(QPointF(op.x1 * s, op.y1 * s), QPointF(op.x2 * s, op.y2 * s));
    }
    return image;
  }

  // The range as {min, max}.
  std::vector<double> Range() const {
    return {config.GraphMin.NumberOr(regional, -12345), config.GraphMax};
  }
  // A zoom click on the range min..max with the pointer last seen at `y` (the click's own place
  // does not count).
  std::vector<double> ClickAt(double min, double max, double y, int button) {
    config.GraphMin = Value::Double(min);
    config.GraphMax = max;
    view.PointerMoved(100, y);
    view.PointerPressed(button);
    return Range();
  }

  Twips twips{96};
  Regional regional;
  AppConfig config;
  SampleHistory history;
  std::string format = "#0";
  QtGraphWidget widget, xaxis;
  DrawList testPic;
  GraphView view{config, history, widget.Picture(), regional};
};

// A trace of more samples than pixel columns is painted as the rows it covers in each column:
// the pixels of the painter's own lines, but for where a steep line crosses into the next column.
// With fewer samples it is the painter's lines, grid and marker included, pixel for pixel.
TEST_F(GraphPictureTest, DenseTracesCoverThePaintersLinesSparseOnesAreThem) {
  const std::tuple<int, int, double (*)(int, unsigned)> traces[] = {
      {100, 0, Flat},   {97, 1, Noisy},  {300, 0, Wavy},  {400, 1, Wild},
      {4000, 1, Noisy}, {3000, 0, Wavy}, {3000, 1, Wavy}, {9999, 0, Wild}};
  for (const auto& [samples, mode, value] : traces) {
    Fill(samples, value);
    history.SetSampleIndex(1234 % samples);
    config.LineMode = mode;
    config.Expanded = value == Wild ? 0 : 1;
    Tick();
    const QImage painted = Render(), lines = PainterLines();
    if (samples < 441) {
      EXPECT_EQ(painted.copy(60, 0, 381, 265), lines.copy(60, 0, 381, 265)) << samples;
      continue;
    }
    EXPECT_EQ(Astray(GreenOf(painted), GreenOf(lines), 0), 0) << samples << " mode " << mode;
  }
  QImage shifted(460, 280, QImage::Format_RGB32);
  shifted.fill(Qt::blue);
  // The part from (100, 50) lands at (7, 5), and nothing else is painted.
  widget.render(&shifted, QPoint(7, 5), QRegion(100, 50, 200, 150));
  EXPECT_EQ(shifted.copy(7, 5, 200, 150), Render().copy(100, 50, 200, 150));
  int blue = 0;
  for (int i = 0; i < 460 * 280; ++i) blue += shifted.pixel(i % 460, i / 460) == qRgb(0, 0, 255);
  EXPECT_EQ(blue, 460 * 280 - 200 * 150);
}

// On a screen of twice the pixels the picture is the same, twice as large, dense or not.
TEST_F(GraphPictureTest, TwiceThePixelsPaintTheSamePictureTwiceAsLarge) {
  const std::pair<int, double (*)(int, unsigned)> traces[] = {
      {100, Steps}, {200, Wavy}, {5000, Wavy}};
  for (const auto& [samples, value] : traces) {
    Fill(samples, value);
    Tick();
    EXPECT_EQ(Astray(GreenOf(Render(2)), GreenOf(Render(1)), 1), 0) << samples;
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

// A new picture is painted whole: its texts too, where the last picture had others.
TEST_F(GraphPictureTest, WidgetRepaintsOnlyAChangedPictureAndPaintsItWhole) {
  widget.show();
  PaintCounter counter;
  widget.installEventFilter(&counter);
  const auto showTick = [&] {
    Tick();
    widget.Show();
    QApplication::processEvents();
    return std::exchange(counter.paints, 0);
  };
  showTick();
  EXPECT_EQ(showTick(), 0) << "nothing changed";
  history.Append(700, 100);  // a new top label
  EXPECT_EQ(showTick(), 1);
  QtGraphWidget fresh;
  fresh.SetUnits(twips);
  fresh.resize(widget.size());
  fresh.Picture() = widget.Picture();
  EXPECT_EQ(widget.grab().toImage(), fresh.grab().toImage());
}

// Pointer events reach the view in twips, with the buttons numbered as the view knows them.
TEST_F(GraphPictureTest, WidgetPassesPointerEventsInTwips) {
  std::vector<double> seen;  // moves as x and y, presses as button, double clicks as -1
  widget.SetMouseMoveHandler([&](double x, double y) { seen.insert(seen.end(), {x, y}); });
  widget.SetMouseDownHandler([&](int b, double, double) { seen.push_back(b); });
  widget.SetDoubleClickHandler([&] { seen.push_back(-1); });
  const auto send = [&](QEvent::Type type, Qt::MouseButton button, QPointF at) {
    QMouseEvent event(type, at, widget.mapToGlobal(at), button, button, Qt::NoModifier);
    QApplication::sendEvent(&widget, &event);
  };
  send(QEvent::MouseMove, Qt::NoButton, QPointF(30, 40));
  for (Qt::MouseButton b : {Qt::LeftButton, Qt::RightButton, Qt::MiddleButton}) {
    send(QEvent::MouseButtonPress, b, QPointF(1, 1));
  }
  send(QEvent::MouseButtonDblClick, Qt::LeftButton, QPointF(1, 1));
  EXPECT_EQ(seen, (std::vector<double>{450, 600, 1, 2, 4, -1}));
}

using GraphViewTest = GraphPictureTest;

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
  EXPECT_TRUE(config.GraphMin.IsText());
  EXPECT_EQ(config.GraphMax, 500);

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
  EXPECT_EQ(Range(), (std::vector<double>{-3, 0}));
}

}  // namespace
}  // namespace tarnwell
