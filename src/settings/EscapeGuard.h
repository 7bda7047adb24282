// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <optional>

namespace tarnwell {

// Only a fresh press of Esc closes the settings dialog: not one while the key is held. A key
// still held from closing the last dialog, or one a tool pressed and never released, would
// otherwise close every dialog the cog opens, at once. A held key repeats: as presses the system
// marks as repeats, as presses without a release between them, or, where the system sends each
// repeat as a release and a press, as a press at the time of a release.
class EscapeGuard {
 public:
  // `held`: whether the key is down as the dialog opens, where the system can tell.
  explicit EscapeGuard(bool held = false) : held_(held) {}

  // A press at `time` (the system's event time); `repeated` when the system marks it as a
  // repeat of a key already down. True when it closes the dialog.
  bool Pressed(bool repeated, std::uint64_t time) {
    const bool fresh = !repeated && !held_ && releasedAt_ != time;
    held_ = true;
    return fresh;
  }
  void Released(std::uint64_t time) {
    held_ = false;
    releasedAt_ = time;
  }

 private:
  bool held_;
  std::optional<std::uint64_t> releasedAt_;
};

}  // namespace tarnwell
