// SPDX-License-Identifier: GPL-3.0-or-later
// The cost of one whole tick of the trend graph on a 1920 by 1080 pixel graph, offscreen:
// building the picture from the history, and painting it through the widget.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QImage>

#include "GraphTickScene.h"
#include "graph/qt/QtGraphWidget.h"

namespace tarnwell {
namespace {

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
  GraphController view(tick.config, tick.history, widget.Picture(), tick.regional, nullptr);
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
