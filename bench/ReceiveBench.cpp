// SPDX-License-Identifier: GPL-3.0-or-later
// Frames handled per second by the receive path: the serial link cutting the stream and the
// frame handler parsing each "+1234.5\r\n" frame into the history. At 921600 bit/s the
// indicator sends about 10,240 such frames a second; the port hands them over in chunks whose
// size depends on the driver and the load (one frame, a small FIFO's worth, a large buffer).
#include <benchmark/benchmark.h>

#include <cstdio>
#include <string>
#include <vector>

#include "ReceiveRig.h"

namespace tarnwell {
namespace {

constexpr std::size_t kFrameSize = 9;
// A whole number of frames and of every chunk size below, so the stream can be replayed.
constexpr std::size_t kStreamSize = kFrameSize * 4096 * 8;

// The clock never moves, so FrameCount is never rolled over.
struct Receiver : testing::FakeReceiveRig {
  explicit Receiver(std::size_t chunkSize) {
    config.NofSamples = 1000;
    history.Resize(1000);

    std::string stream;
    for (int i = 0; stream.size() < kStreamSize; ++i) {
      char frame[16];
      std::snprintf(frame, sizeof frame, "%+07.1f\r\n", (i * 7919 % 100000) / 10.0);
      stream += frame;
    }
    for (std::size_t at = 0; at < stream.size(); at += chunkSize) {
      chunks.push_back(stream.substr(at, chunkSize));
    }
  }

  std::vector<std::string> chunks;
};

void BM_Receive(benchmark::State& bench) {
  const auto chunkSize = static_cast<std::size_t>(bench.range(0));
  Receiver r(chunkSize);
  std::size_t next = 0;
  std::int64_t bytes = 0;
  for (auto _ : bench) {
    const std::string& chunk = r.chunks[next];
    r.port.Receive(chunk);
    bytes += static_cast<std::int64_t>(chunk.size());
    next = next + 1 == r.chunks.size() ? 0 : next + 1;
  }
  benchmark::DoNotOptimize(r.history.Samples().data());
  bench.SetItemsProcessed(static_cast<std::int64_t>(r.state.FrameCount));
  bench.SetBytesProcessed(bytes);
  bench.counters["frames"] = r.state.FrameCount;
}
BENCHMARK(BM_Receive)->ArgName("chunk")->Arg(9)->Arg(64)->Arg(4096);

}  // namespace
}  // namespace tarnwell

BENCHMARK_MAIN();
