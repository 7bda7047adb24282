// SPDX-License-Identifier: GPL-3.0-or-later
#include "graph/TracePlot.h"

#include <algorithm>
#include <cmath>

#include "acquisition/NumberFormat.h"
#include "config/NumberText.h"

namespace tarnwell {
namespace {

constexpr DrawColor kWhite{255, 255, 255};
constexpr DrawColor kBlack{0, 0, 0};
constexpr DrawColor kAxisBack{25, 25, 25};
constexpr DrawColor kAxisText{255, 130, 5};

DrawColor ToDraw(Rgb c) { return DrawColor{c.red, c.green, c.blue}; }

// A scale that cannot be computed (an empty or endless span) draws everything at one place.
double FiniteOrZero(double v) { return std::isfinite(v) ? v : 0; }

}  // namespace

TracePlot::TracePlot(const PlotInputs& in, DrawSurface& graph)
    : in_(in),
      graph_(graph),
      ub_(in.history.UB()),
      sweeping_(in.config.Sweeping(in.regional)),
      automatic_(in.config.AutomaticRange(in.regional)),
      max_(in.range.Max),
      min_(in.range.Min),
      span_(in.span) {}

void TracePlot::Draw(const PlotInputs& in, DrawSurface& graph, DrawSurface& xaxis,
                     DrawSurface& testPic) {
  TracePlot plot(in, graph);
  plot.Widen();
  plot.Scale();
  plot.Trace();
  plot.ValueLabels();
  if (in.config.PointerReadOut(in.regional)) plot.MouseReadOut();
  plot.SampleAxis(xaxis);
  testPic.Clear(kBlack);
}

void TracePlot::Widen() {
  if (max_ != min_) return;
  // One unit of the last decimal shown on each side, so a flat trace runs along the middle.
  const double unit = std::pow(10.0, -DecimalCount(in_.valueFormat));
  max_ += unit;
  min_ -= unit;
  if (span_ == 0) span_ = max_ - min_;
}

void TracePlot::Scale() {
  yScale_ = FiniteOrZero(graph_.ScaleHeight() / span_);
  xScale_ = ub_ - 1 == 0 ? 0 : FiniteOrZero(graph_.ScaleWidth() / (ub_ - 1));
  graph_.Clear(ToDraw(in_.config.ShownBackColor(in_.regional)));
  if (in_.drawGuideLines) in_.drawGuideLines();
  graph_.SetPenWidth(1);
}

int TracePlot::SlotAt(int i) const {
  if (sweeping_ || ub_ <= 0) return i;
  const int s = (i + in_.history.SampleIndex()) % ub_;
  return s < 0 ? s + ub_ : s;
}

double TracePlot::HeightOf(double value) const {
  double h = (value - min_) * yScale_;
  if (automatic_) {
    if (h < 10) {
      h = 10;
    } else if (h >= graph_.Height()) {
      h = graph_.Height();
    }
  }
  return h;
}

void TracePlot::Trace() {
  if (ub_ <= 0) return;
  const auto& samples = in_.history.Samples();
  const double bottom = graph_.ScaleHeight();
  const DrawColor lineColor = ToDraw(in_.config.LineColor);
  const DrawColor markerColor = ToDraw(in_.config.FontColor);
  const int marker = in_.history.SampleIndex();
  double prevX = 0;
  double prevH = (samples[static_cast<std::size_t>(SlotAt(0))] - min_) * yScale_;
  for (int i = 0; i < ub_; ++i) {
    const int slot = SlotAt(i);
    const double h = HeightOf(samples[static_cast<std::size_t>(slot)]);
    const double x = i * xScale_;
    if (sweeping_ && slot == marker) {
      // The marker stands at the latest value; the trace is not joined across it.
      graph_.Line(prevX, 0, prevX, bottom, markerColor);
      prevH = h;
    }
    graph_.Line(prevX, bottom - prevH, x, bottom - h, lineColor);
    prevX = x;
    prevH = h;
  }
}

void TracePlot::Label(double x, double y, double value, const std::string& pattern,
                      const DrawFont& font) {
  if (auto text = FormatNumber(value, pattern, in_.regional)) {
    graph_.Text(x, y, *text, font, kWhite);
  }
}

void TracePlot::ValueLabels() {
  const DrawFont font{"tahoma", 13, true};
  const double height = graph_.Height();
  const int d = DecimalCount(in_.valueFormat);
  // A span of an odd number of last decimals puts the midpoint one decimal further.
  const double steps = RoundHalfEven((max_ - min_) * std::pow(10.0, d));
  const bool odd = std::isfinite(steps) && std::fmod(steps, 2) != 0;
  const std::string middle =
      odd ? FormatForDecimals(static_cast<std::uint8_t>(std::min(d + 1, 255))) : in_.valueFormat;
  Label(0, -80, max_, in_.valueFormat, font);
  Label(0, height - 275, min_, in_.valueFormat, font);
  Label(0, height / 2 - 160, min_ / 2 + max_ / 2, middle, font);
}

void TracePlot::MouseReadOut() {
  const double width = graph_.Width();
  if (width <= 0 || ub_ <= 0) return;
  const DrawFont font{"tahoma", 10, true};
  const double k = RoundHalfEven(in_.graphMouseX * (ub_ - 1) / width);
  double cx = ub_ - 1 == 0 ? 0 : k * width / (ub_ - 1);
  if (cx >= width) cx = width - 10;
  graph_.Line(cx, 0, cx, graph_.ScaleHeight(), ToDraw(in_.config.FontColor));

  const double my = std::max(in_.graphMouseY, 0.0);
  const double tx = std::min(cx, width - 1300) + 75;
  // Scrolling wraps any slot number into the ring; sweeping names the slot itself, which a
  // pointer held outside the graph while dragging can put beyond the history.
  const double slot = sweeping_ ? k : std::fmod(k + in_.history.SampleIndex(), ub_);
  if (slot >= 0 && slot <= ub_) {
    if (auto y =
            FormatNumber(in_.history.Slot(static_cast<int>(slot)), in_.valueFormat, in_.regional)) {
      graph_.Text(tx, my + 200, "y:" + *y, font, kWhite);
    }
  }
  const double number = sweeping_ ? k + 1 : ub_ - k + 1;
  if (auto x = FormatNumber(number, "0", in_.regional)) {
    graph_.Text(tx, my, "x:" + *x, font, kWhite);
  }
}

void TracePlot::SampleAxis(DrawSurface& xaxis) const {
  xaxis.Clear(kAxisBack);
  const DrawFont font{"tahoma", 7, false};
  for (int j = 0; j <= 4; ++j) {
    const double quarter = ub_ * j / 4.0;
    const double label = sweeping_ ? quarter : ub_ - quarter;
    if (auto text = FormatNumber(label, "0", in_.regional)) {
      xaxis.Text(10 + xaxis.Width() * j / 4, -20, *text, font, kAxisText);
    }
  }
}

}  // namespace tarnwell
