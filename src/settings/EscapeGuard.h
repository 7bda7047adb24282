// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <optional>

namespace tarnwell {

// Only a fresh press of Esc closes the settings dialog. A held key repeats, marked as a repeat by
// the system or, where the system sends each repeat as a release and a press, as a press at the
// time of a release. A key still held from closing the last dialog, or one a tool pressed and
// never released, would otherwise close every dialog the cog opens, at once.
class EscapeGuard {
 public:
  // A press of Esc at `time` (the system's event time); `repeated` when the system marks it as a
  // repeat of a key already down. True when it closes the dialog.
  bool Pressed(bool repeated, std::uint64_t time) const { return !repeated && releasedAt_ != time; }
  void Released(std::uint64_t time) { releasedAt_ = time; }

 private:
  std::optional<std::uint64_t> releasedAt_;
};

}  // namespace tarnwell
