// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <QApplication>
#include <QFontMetricsF>
#include <QMouseEvent>
#include <QPainter>
#include <cmath>
#include <tuple>

#include "QtTestApplication.h"
#include "graph/GraphView.h"
#include "graph/TracePlot.h"
#include "graph/qt/QtGraphWidget.h"
#include "platform/qt/KeptText.h"

namespace tarnwell {
namespace {

[[maybe_unused]] const auto* const kQt =
    ::testing::AddGlobalTestEnvironment(new testing::QtTestApplication);

const QRgb kGreen = qRgb(0, 255, 0);

// Pixels of `color` in `area` of `image`.
int Count(const QImage& image, QRect area, QRgb color) {
  int n = 0;
  for (int y = area.top(); y <= area.bottom(); ++y)
    for (int x = area.left(); x <= area.right(); ++x) n += image.pixel(x, y) == color;
  return n;
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
    Fill(100, [](int, unsigned) { return 600.0; });
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
  // The picture as shown, or with `byHand` as the painter alone draws it: a clip set by hand
  // leaves it all to the painter.
  QImage Render(bool byHand = false) const {
    QImage image(441, 265, QImage::Format_RGB32);
    QPainter painter(&image);
    if (byHand) painter.setClipRect(image.rect());
    QtGraphWidget::Replay(widget.Picture(), painter, twips, image.size());
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
    view.Graph_MouseMove(100, y);
    view.Graph_MouseDown(button);
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

// Traces written straight into the image give the painter's pixels, also for part of the widget,
// and the lines one by one but for a pixel's shift inside a column here and there.
TEST_F(GraphPictureTest, TraceWrittenIntoTheImagePaintsWhatThePainterPaints) {
  const auto noisy = [](int, unsigned noise) { return 500.0 + noise % 400; };
  const auto wavy = [](int i, unsigned noise) {
    return 300 * std::sin(i * 0.004) + noise % 97 + (i % 500 == 0 ? 400 : 0);
  };
  const std::tuple<int, int, double (*)(int, unsigned)> traces[] = {
      {97, 1, noisy}, {4000, 1, noisy}, {3000, 0, wavy}, {3000, 1, wavy}};
  for (const auto& [samples, mode, value] : traces) {
    Fill(samples, value);
    history.SetSampleIndex(1234 % samples);
    config.LineMode = mode;
    Tick();
    const QImage joined = Render();
    EXPECT_EQ(joined, Render(true)) << samples;
    QImage reference(441, 265, QImage::Format_RGB32);
    QPainter painter(&reference);
    const double s = twips.ToPixels(1);
    for (const DrawOp& op : widget.Picture().Ops()) {
      const QColor color(op.color.red, op.color.green, op.color.blue);
      if (op.kind == DrawOp::Kind::kClear) painter.fillRect(reference.rect(), color);
      if (op.kind != DrawOp::Kind::kLine) continue;
      QPen pen(color, op.penWidth);
      pen.setCosmetic(true);
      painter.setPen(pen);
      painter.drawLine(QPointF(op.x1 * s, op.y1 * s), QPointF(op.x2 * s, op.y2 * s));
    }
    painter.end();
    // A trace pixel of one picture has one beside it, in its row, in the other.
    const auto near = [](const QImage& image, int x, int y) {
      return Count(image, QRect(x - 1, y, 3, 1) & image.rect(), kGreen) > 0;
    };
    int traced = 0, differing = 0, astray = 0;
    for (int y = 0; y < 265; ++y) {
      for (int x = 60; x < 441; ++x) {
        traced += reference.pixel(x, y) == kGreen;
        if (joined.pixel(x, y) == reference.pixel(x, y)) continue;
        ++differing;
        astray += joined.pixel(x, y) == kGreen && !near(reference, x, y);
        astray += reference.pixel(x, y) == kGreen && !near(joined, x, y);
      }
    }
    EXPECT_GT(traced, 5000) << samples;
    EXPECT_LT(differing, traced / 200) << samples << " mode " << mode;
    EXPECT_EQ(astray, 0) << samples << " mode " << mode;
  }
  QImage shifted(460, 280, QImage::Format_RGB32);
  shifted.fill(Qt::blue);
  // The part from (100, 50) lands at (7, 5), and nothing else is painted.
  widget.render(&shifted, QPoint(7, 5), QRegion(100, 50, 200, 150));
  EXPECT_EQ(shifted.copy(7, 5, 200, 150), Render().copy(100, 50, 200, 150));
  EXPECT_EQ(Count(shifted, shifted.rect(), qRgb(0, 0, 255)), 460 * 280 - 200 * 150);
}

// The graph's texts are drawn from layouts kept for the last texts: each must still be drawn as
// the painter draws it, in its own font.
TEST(KeptTextTest, DrawsWhatThePainterDraws) {
  for (const char* text : {"1000.5", "-3", "1000.5"}) {
    for (const bool bold : {false, true}) {
      QFont font("tahoma");
      font.setPointSizeF(13);
      font.setBold(bold);
      QImage kept(120, 40, QImage::Format_RGB32), drawn(120, 40, QImage::Format_RGB32);
      kept.fill(Qt::black);
      drawn.fill(Qt::black);
      QPainter keeping(&kept), drawing(&drawn);
      keeping.setPen(Qt::white);
      DrawKeptText(keeping, font, text, QPointF(3.3, 2.7));
      drawing.setPen(Qt::white);
      drawing.setFont(font);
      drawing.drawText(QPointF(3.3, 2.7 + QFontMetricsF(font, &drawn).ascent()), text);
      EXPECT_EQ(kept, drawn) << text << " bold " << bold;
    }
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

TEST_F(GraphPictureTest, WidgetRepaintsOnlyAChangedPicture) {
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
  history.Append(700, 100);
  EXPECT_EQ(showTick(), 1);
  EXPECT_EQ(widget.grab().toImage().convertToFormat(QImage::Format_RGB32), Render());
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
  view.CmdZoomIn_MouseDown(1);
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
  view.Graph_MouseDown(1);
  EXPECT_TRUE(config.GraphMin.IsText());
  EXPECT_EQ(config.GraphMax, 500);

  view.CmdZoomIn_MouseDown(1);
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
    view.CmdZoomIn_MouseDown(button);
    view.Graph_DblClick();
    states.insert(states.end(), {view.ZoomMode(), int(view.MousePointer()), history.SampleIndex()});
  }
  const int arrow = int(PointerStyle::kDefault), sizeAll = int(PointerStyle::kSizeAll);
  EXPECT_EQ(states, (std::vector<int>{0, arrow, 1, sizeAll, 3, 0, arrow, 0}));
  EXPECT_EQ(history.Samples(), (std::vector<double>{-3, -3, -3, -3, -3, -6}));
  // The fit looks at all but the last element, and its top never falls below 0.
  view.CmdZoomIn_MouseDown(2);
  EXPECT_EQ(Range(), (std::vector<double>{-3, 0}));
}

}  // namespace
}  // namespace tarnwell
