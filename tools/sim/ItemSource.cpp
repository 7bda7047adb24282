// SPDX-License-Identifier: GPL-3.0-or-later
#include "sim/ItemSource.h"

#include <algorithm>

namespace tarnwell::sim {
namespace {
constexpr std::int64_t kRunawayPiece = 256;

bool IsTerminator(char c) { return c == '\r' || c == '\x03'; }
}  // namespace

ItemSource::ItemSource(const SimOptions& options)
    : options_(options), maker_(options), pattern_(options), random_(options.seed ^ 0x9E3779B9u) {}

LineItem ItemSource::Next(double lineFree) {
  LineItem item;
  item.start = lineFree;
  if (!runawayStarted_ && options_.runawayAfter >= 0 && frames_ >= options_.runawayAfter) {
    runawayStarted_ = true;
    runawayLeft_ = options_.runawayLen > 0 ? options_.runawayLen : -1;
  }
  if (runawayLeft_ != 0) {
    const std::int64_t length =
        runawayLeft_ < 0 ? kRunawayPiece : std::min(runawayLeft_, kRunawayPiece);
    if (runawayLeft_ > 0) runawayLeft_ -= length;
    item.kind = LineItem::Kind::kRunaway;
    item.bytes = Runaway(static_cast<std::size_t>(length));
    return item;
  }
  if (options_.garbageEvery > 0 && sinceGarbage_ >= options_.garbageEvery) {
    sinceGarbage_ = 0;
    item.kind = LineItem::Kind::kGarbage;
    item.bytes = Garbage();
    return item;
  }
  if (options_.rate > 0) {
    item.start = std::max(lineFree, static_cast<double>(frames_) / options_.rate);
  }
  item.frame = maker_.Frame(pattern_.At(item.start));
  item.bytes = item.frame + maker_.Terminator();
  ++frames_;
  ++sinceGarbage_;
  return item;
}

std::string ItemSource::Garbage() {
  std::uniform_int_distribution<int> byte(0, 255);
  std::string bytes(static_cast<std::size_t>(options_.garbageLen), '\0');
  for (char& c : bytes) {
    do {
      c = static_cast<char>(byte(random_));
    } while (!options_.garbageTerms && IsTerminator(c));
  }
  return bytes;
}

// A line whose terminators are lost: frame after frame of the current reading run together.
std::string ItemSource::Runaway(std::size_t length) {
  if (runawayText_.empty()) {
    for (char c : maker_.Frame(pattern_.At(0))) {
      if (!IsTerminator(c)) runawayText_ += c;
    }
    if (runawayText_.empty()) runawayText_.push_back('0');
  }
  std::string bytes;
  bytes.reserve(length);
  for (; bytes.size() < length; ++runawayPhase_) {
    bytes += runawayText_[runawayPhase_ % runawayText_.size()];
  }
  return bytes;
}

}  // namespace tarnwell::sim
