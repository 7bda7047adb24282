// SPDX-License-Identifier: GPL-3.0-or-later
#include <algorithm>
#include <array>
#include <cmath>
#include <set>
#include <vector>

#include "FakeClock.h"
#include "FakeMessageBox.h"
#include "FakeSerialPort.h"
#include "FakeTimer.h"
#include "FuzzEntries.h"
#include "FuzzInput.h"
#include "acquisition/NumberFormat.h"
#include "acquisition/ReadingRoute.h"
#include "acquisition/SerialLink.h"

namespace tarnwell::fuzz {
namespace {

// Numbers a setting can hold after config.ini or the settings dialog: small whole ones,
// halves, negatives and the edges of the integer and double ranges.
double PickNumber(std::uint8_t selector, std::uint8_t v) {
  static constexpr std::array<double, 14> kEdges = {1e300,
                                                    -1e300,
                                                    9.2233720368547758e18,
                                                    1.8446744073709552e19,
                                                    4294967296.0,
                                                    2147483648.0,
                                                    -2147483649.0,
                                                    1.7976931348623157e308,
                                                    -1.7976931348623157e308,
                                                    4.9e-324,
                                                    0.5,
                                                    1.5,
                                                    2.5,
                                                    -0.5};
  switch (selector % 8) {
    case 0:
      return v;
    case 1:
      return -static_cast<double>(v);
    case 2:
      return v / 4.0;
    case 3:
      return -v / 4.0;
    case 4:
      return v * 1e6;
    case 5:
      return kEdges[v % kEdges.size()];
    case 6:
      return v + 0.5;
    default:
      return 0;
  }
}

// NofChars as the file leaves it: a text, a number or neither.
Value PickValue(FuzzInput& in) {
  static constexpr std::array<const char*, 11> kTexts = {"",    "abc", " 12 ",  "1e3", "&H10", "-3",
                                                         "2.5", "2,5", "1E400", "0",   "5"};
  const std::uint8_t selector = in.Byte();
  if (selector & 0x80) return Value::Text(kTexts[selector % kTexts.size()]);
  return Value::Double(PickNumber(selector, in.Byte()));
}

std::size_t Terminators(std::string_view s) {
  return static_cast<std::size_t>(
      std::count_if(s.begin(), s.end(), [](char c) { return c == '\r' || c == '\x03'; }));
}

// Counts the terminators the link takes in; those are the frames it owes, but for the ones
// an opening or lost characters cut.
class CountingPort : public testing::FakeSerialPort {
 public:
  Received Input() override {
    Received in = FakeSerialPort::Input();
    received += Terminators(in.chars);
    stream += in.chars;
    return in;
  }
  std::size_t received = 0;
  // Every character the link took in, in order, whatever the chunks were.
  std::string stream;
};

struct Switches {
  bool recording;
  bool logging;
  bool writerEachFrame;
  bool fillOnFirst;
};

// A recording that runs as the switches say and keeps each reading it is handed.
class FuzzRecorder : public Recorder {
 public:
  explicit FuzzRecorder(const Switches& on) : on_(on) {}
  bool Recording() const override { return on_.recording && on_.logging; }
  void Take(double value, const std::string&, Instant) override {
    current = value;
    if (on_.writerEachFrame) logged.push_back(value);
  }
  double CurrentValue() const override { return current; }
  void FramesDropped(std::size_t) override {}
  void HoldLines() override {}
  void ReleaseLines() override {}

  double current = 0;
  std::vector<double> logged;

 private:
  const Switches& on_;
};

// Counts the frames the link hands on to the route.
class CountingSink : public FrameSink {
 public:
  explicit CountingSink(FrameSink& next) : next_(next) {}
  void HandOverStarts() override { next_.HandOverStarts(); }
  void HandOverEnds() override { next_.HandOverEnds(); }
  void Frame(const std::optional<Reading>& reading) override { ++frames, next_.Frame(reading); }
  void FirstFrame() override { next_.FirstFrame(); }
  void FramesLost(std::size_t count) override { next_.FramesLost(count); }

  std::size_t frames = 0;

 private:
  FrameSink& next_;
};

class ReceiveRun {
 public:
  explicit ReceiveRun(FuzzInput& in) {
    config.NofChars = PickValue(in);
    const std::uint8_t omitSelector = in.Byte();
    config.OmitCh = PickNumber(omitSelector, in.Byte());
    const std::uint8_t samplesSelector = in.Byte();
    config.NofSamples = PickNumber(samplesSelector, in.Byte());
    ub = in.Byte();
    history.Resize(ub);
    const std::uint8_t flags = in.Byte();
    on = {(flags & 1) != 0, (flags & 2) != 0, (flags & 4) != 0, (flags & 8) != 0};
    config.LogEnable = on.logging;
    config.LogTime = on.writerEachFrame ? 0 : 1;
    if (flags & 16) regional.decimal = ',';
    link.ResetReceiveState();
    port.open = true;
    for (std::size_t k = 0; k <= 7; ++k)
      formats.insert(FormatForDecimals(static_cast<std::uint8_t>(k)));
  }

  void Step(FuzzInput& in) {
    const std::uint8_t op = in.Byte();
    const std::size_t n = op >> 2;
    switch (op & 3) {
      case 0:
        port.Receive(std::string(n == 0 ? in.Rest() : in.Take(n)));
        break;
      case 1:
        // A read that waits for a later hand-over.
        port.Arrive(std::string(n == 0 ? in.Rest() : in.Take(n)));
        break;
      case 2:
        if (n % 3 == 0) port.HandOver();
        if (n % 3 == 1) port.SetPortOpen(false), port.SetPortOpen(true);
        if (n % 3 == 2) port.Lose(), lost = true;
        break;
      default:
        if (n & 1) {
          clock.now -= std::chrono::seconds(n >> 1);
        } else {
          clock.Advance(static_cast<std::int64_t>(n >> 1) * 100);
        }
        break;
    }
  }

  std::string Broken() const {
    const std::string& rx = state.RxBuffer;
    if (rx.size() > SerialLink::kMaxPending) return "receive buffer above its bound";
    if (Terminators(rx) != 0) return "a complete frame left in the receive buffer";
    if (handled > port.received || (!Cut() && handled != port.received)) {
      return "frames handled differ from terminators received";
    }
    const bool recorded = on.recording && on.logging;
    const auto& logged = recorder.logged;
    if (logged.size() != (recorded && on.writerEachFrame ? route.Readings() : 0)) {
      return "writer runs";
    }
    if (!std::isfinite(recorder.current)) return "current value not finite";
    if (!recorded && recorder.current != 0) return "current value set without a recording";
    const std::string& format = route.ValueFormat();
    if (!format.empty() && !formats.count(format)) return "value format";
    if (history.UB() != ub) return "history resized";
    if (history.SampleIndex() < 0 || history.SampleIndex() > history.UB()) return "sample index";
    if (recorded && history.SampleIndex() != 0) return "history written while recording";
    for (const double s : history.Samples()) {
      if (!std::isfinite(s)) return "sample not finite";
    }
    if (fills != (on.fillOnFirst && handled > 0 ? 1 : 0)) return "trace fills";
    if (state.AwaitingFirstFrame != (handled == 0)) return "first-frame mark";
    // Each reading is counted once, and only a reading fills the history or the record.
    if (route.Readings() > handled) return "readings above frames";
    if (route.Readings() == 0 && (history.Latest() || !logged.empty())) return "uncounted reading";
    if (state.FrameCount < 0 || state.FrameCount > static_cast<double>(handled)) return "count";
    return {};
  }

  // True when no run of characters without a terminator outgrows the receive buffer, so that
  // nothing was dropped and the chunks cannot have mattered.
  bool NothingDropped() const {
    std::size_t run = 0;
    for (const char c : port.stream) {
      run = c == '\r' || c == '\x03' ? 0 : run + 1;
      if (run > SerialLink::kMaxPending) return false;
    }
    return true;
  }

  // A reopened port or lost characters drop the frame they cut, so there the chunks do matter.
  bool Cut() const { return port.opens != 0 || lost; }

  void ReceiveWhole(const ReceiveRun& chunked) { port.Receive(chunked.port.stream); }

  // What the frames left behind must not depend on how the characters were cut into events.
  std::string DiffersFrom(const ReceiveRun& whole) const {
    if (handled != whole.handled) return "frames differ between chunked and whole";
    if (recorder.logged != whole.recorder.logged)
      return "recorded values differ between chunked and whole";
    if (history.Samples() != whole.history.Samples())
      return "history differs between chunked and whole";
    if (history.SampleIndex() != whole.history.SampleIndex()) return "sample index differs";
    if (route.ValueFormat() != whole.route.ValueFormat()) return "value format differs";
    if (recorder.current != whole.recorder.current) return "current value differs";
    if (state.RxBuffer != whole.state.RxBuffer) return "pending characters differ";
    return {};
  }

 private:
  CountingPort port;
  AppConfig config;
  SampleHistory history;
  Regional regional;
  testing::FakeClock clock;
  testing::FakeMessageBox messages;
  testing::FakeTimer refreshTimer;
  LangTable texts;
  Switches on{};
  int ub = 0;
  bool lost = false;
  int fills = 0;
  FuzzRecorder recorder{on};
  ReadingRoute route{config, history, recorder, port, refreshTimer, [this] {
                       if (!on.fillOnFirst) return;
                       ++fills;
                       history.TraceFill();
                     }};
  CountingSink sink{route};
  const std::size_t& handled = sink.frames;
  PortControl control{port};
  SerialLink link{port, control, config, sink, clock, regional, messages, texts};
  const ReceiveState& state = link.Receive();
  std::set<std::string> formats;
};

}  // namespace

std::string FuzzReceive(std::string_view bytes) {
  FuzzInput in(bytes);
  ReceiveRun run(in);
  const std::string_view header = bytes.substr(0, bytes.size() - in.Left());
  while (!in.Empty()) {
    run.Step(in);
    if (std::string broken = run.Broken(); !broken.empty()) return broken;
  }
  if (!run.NothingDropped() || run.Cut()) return {};
  FuzzInput same(header);
  ReceiveRun whole(same);
  whole.ReceiveWhole(run);
  if (std::string broken = whole.Broken(); !broken.empty()) return broken + " (whole)";
  return run.DiffersFrom(whole);
}

}  // namespace tarnwell::fuzz
