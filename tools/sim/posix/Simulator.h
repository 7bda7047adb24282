// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <chrono>
#include <cstdint>
#include <deque>
#include <optional>
#include <string>

#include "sim/FrameLog.h"
#include "sim/ItemSource.h"
#include "sim/LinePacer.h"
#include "sim/SimOptions.h"
#include "sim/posix/PtyLine.h"
#include "sim/posix/SimStats.h"

namespace tarnwell::sim {

// The run: paces items onto the line, follows readers coming and going, pulls the device out
// when asked, and ends at a limit or when `signalFd` (a signalfd) becomes readable.
class Simulator {
 public:
  Simulator(const SimOptions& options, int signalFd);

  // The process's exit code: 0 after a limit or a signal, 1 when the line cannot be made.
  int Run();
  const SimStats& Stats() const { return stats_; }

 private:
  struct Current {
    LineItem item;
    std::size_t sent = 0;
    bool deliver = false;
    std::size_t from = 0;  // where its characters start in unsent_
    bool begun = false;    // some of its characters are on the line
  };
  // An item made whole, its characters at [from, end) of unsent_ (from 0 once some are written).
  struct Queued {
    LineItem item;
    std::size_t from = 0;
    std::size_t end = 0;
    bool begun = false;
  };

  double Now() const;
  bool LimitReached(double now) const;
  // Makes the characters due by `now` and writes what waits.
  void Send(double now);
  void Write();
  std::int64_t QueuedFrames() const;
  void LoseWhatFindsTheLineFull(std::size_t written);
  void DropUnsent();
  void Unplug();
  bool Replug(std::string& error);
  // Sleeps until `until` at the latest, handling signals, readers and sent-back bytes.
  void Wait(double until);
  bool Drained();
  // The last `unread` characters written never reached a reader: the frames among them (whole
  // or partly read) are counted as taken back.
  void TakenBack(std::size_t unread);
  void Finish();

  const SimOptions& options_;
  int signalFd_;
  PtyLine line_;
  FrameLog log_;
  ItemSource source_;
  LinePacer pacer_;
  SimStats stats_;
  std::optional<Current> current_;
  // Characters made for the line that it has not taken yet, and the items among them.
  std::string unsent_;
  std::deque<Queued> queued_;
  // The last write did not go out whole.
  bool lineFull_ = false;
  // Where recent frames written whole end, in characters written since the start.
  std::deque<std::int64_t> frameEnds_;
  std::chrono::steady_clock::time_point start_;
  bool stop_ = false;
  double nextUnplug_ = 0;
  double replugAt_ = -1;
  double lastFlush_ = 0;
  int quietChecks_ = 0;
};

}  // namespace tarnwell::sim
