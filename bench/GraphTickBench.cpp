// SPDX-License-Identifier: GPL-3.0-or-later
// The cost of one whole tick of the trend graph on a 1920 by 1080 pixel graph, offscreen:
// building the picture from the history, and painting it through the widget.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QImage>
#include <cmath>

#include "graph/GraphView.h"
#include "graph/TracePlot.h"
#include "graph/qt/QtGraphWidget.h"

namespace tarnwell {
namespace {

constexpr int kWidthPx = 1920;
constexpr int kHeightPx = 1080;

// The shape of the trace decides how many pixels it covers, and so the cost of painting it.
enum Shape { kSmooth = 0, kJitter = 1, kFullNoise = 2 };

struct Tick {
  Tick(int nofSamples, int shape) {
    graph.SetSizes(twips.FromPixels(kWidthPx), twips.FromPixels(kHeightPx),
                   twips.FromPixels(kWidthPx), twips.FromPixels(kHeightPx));
    xaxis.SetSizes(graph.Width(), 135, graph.Width(), 135);
    config.NofSamples = nofSamples;
    config.MouseEvent = 1;
    history.Resize(nofSamples);
    unsigned noise = 12345;
    for (int i = 0; i < nofSamples; ++i) {
      noise = noise * 1103515245u + 12345u;
      const double random = static_cast<double>((noise >> 16) % 1000) / 1000.0;
      double v = 0;
      switch (shape) {
        case kSmooth:  // a slow drift and a step
          v = 500 + 300 * std::sin(i * 0.01) + (i > nofSamples / 2 ? 80 : 0);
          break;
        case kJitter:  // the same with vibration of 2 % of the range
          v = 500 + 300 * std::sin(i * 0.01) + 20 * random + (i > nofSamples / 2 ? 80 : 0);
          break;
        default:  // a steady reading whose last digit flickers: automatic range magnifies it
          v = 1000 + random / 100;
          break;
      }
      history.Append(v, nofSamples);
    }
  }
  void Draw() {
    const GraphRange range = ComputeRange(history, config, regional);
    TracePlot::Draw(PlotInputs{history, config, format, regional, range, range.Max - range.Min,
                               9000, 4000, [this] { view.DrawGuideLines(); }},
                    graph, xaxis, testPic);
  }

  Twips twips{96};
  Regional regional;
  AppConfig config;
  SampleHistory history;
  std::string format = "#0.00";
  DrawList graph, xaxis, testPic;
  GraphView view{config, history, graph, regional};
};

void BM_BuildTick(benchmark::State& state) {
  Tick tick(static_cast<int>(state.range(0)), static_cast<int>(state.range(1)));
  for (auto _ : state) {
    tick.Draw();
    benchmark::DoNotOptimize(tick.graph.Ops().data());
  }
}

// Building and painting through the widget's own paint event, as the window shows it, on a
// screen of device pixel ratio 1 or 2.
void BM_WidgetTick(benchmark::State& state) {
  Tick tick(static_cast<int>(state.range(0)), static_cast<int>(state.range(1)));
  const int ratio = static_cast<int>(state.range(2));
  QtGraphWidget widget;
  widget.SetUnits(tick.twips);
  widget.resize(kWidthPx, kHeightPx);
  GraphView view(tick.config, tick.history, widget.Picture(), tick.regional);
  QImage image(kWidthPx * ratio, kHeightPx * ratio, QImage::Format_RGB32);
  image.setDevicePixelRatio(ratio);
  for (auto _ : state) {
    const GraphRange range = ComputeRange(tick.history, tick.config, tick.regional);
    TracePlot::Draw(PlotInputs{tick.history, tick.config, tick.format, tick.regional, range,
                               range.Max - range.Min, 9000, 4000, [&] { view.DrawGuideLines(); }},
                    widget.Picture(), tick.xaxis, tick.testPic);
    // As on the screen: the widget paints every pixel itself.
    widget.render(&image, QPoint(), QRegion(), QWidget::DrawChildren);
  }
}

BENCHMARK(BM_BuildTick)
    ->ArgsProduct({{100, 1000, 9999}, {kSmooth, kJitter, kFullNoise}})
    ->ArgNames({"samples", "shape"})
    ->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_WidgetTick)
    ->ArgsProduct({{100, 1000, 9999}, {kSmooth, kJitter, kFullNoise}, {1, 2}})
    ->ArgNames({"samples", "shape", "dpr"})
    ->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace tarnwell

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
