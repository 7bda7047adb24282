// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>
#include <string>

namespace tarnwell::sim {

// One pseudo-terminal pair in raw mode with a link to its device. The simulator keeps its own
// descriptor of the device open, so the line stays up while readers close and reopen it, and
// it watches the device's opens and closes to know whether anybody is listening.
class PtyLine {
 public:
  PtyLine() = default;
  ~PtyLine();
  PtyLine(const PtyLine&) = delete;
  PtyLine& operator=(const PtyLine&) = delete;

  bool Open(const std::string& link, std::string& error);
  // Hangs the line up for its readers and removes the link if it is still ours.
  void Close();
  // Takes out what is waiting in the device for its reader, as pulling the device loses it;
  // returns how many characters that was.
  std::size_t TakeBack();
  bool IsOpen() const { return master_ >= 0; }

  int Master() const { return master_; }
  // Readable when a reader opened or closed the device; -1 when opens cannot be watched.
  int WatchFd() const { return watch_; }
  // Follows opens and closes; returns the characters dropped unread when the last reader left.
  std::size_t ReadWatch();
  // Takes and drops whatever a reader sent: nothing listens on this side.
  void DrainMaster();

  // Somebody has the device open; always true when opens cannot be watched.
  bool ReaderPresent() const { return readers_ != 0; }
  // Characters waiting in the device for its reader.
  std::size_t Unread() const;
  const std::string& Device() const { return device_; }

 private:
  bool MakeLink(const std::string& link, std::string& error);

  int master_ = -1;
  int slave_ = -1;
  int watch_ = -1;
  int readers_ = -1;
  std::string device_;
  std::string link_;
};

}  // namespace tarnwell::sim
