// SPDX-License-Identifier: GPL-3.0-or-later
#include <fcntl.h>
#include <gtest/gtest.h>
#include <pty.h>
#include <sys/ioctl.h>
#include <unistd.h>

#include <atomic>

#include "FakeClock.h"
#include "TestFiles.h"
#include "platform/posix/LineReader.h"

namespace tarnwell::testing {
namespace {

// The reads taken so far: what each holds, and what it follows ("+" a loss, with the frames lost).
std::string Taken(LineReader& reader, Received& in) {
  reader.TakeInto(in);
  std::string out;
  for (std::size_t i = 0, from = 0; i < in.reads.size(); from = in.reads[i++].end) {
    const LineRead& read = in.reads[i];
    out += in.chars.substr(from, read.end - from);
    if (read.follows == LineRead::Follows::kLoss) out += "+" + std::to_string(read.framesDropped);
  }
  return out;
}

// A read after the driver counted lost characters is dropped with all that waits behind it, and
// counted in the next read kept; a count that stays put costs nothing. A writer gone in the
// middle of such a drop ends the reading.
TEST(LineReader, DropsWhatTheDriverCountedLossesBeforeAndEndsWhenTheWriterGoes) {
  int line[2];
  ASSERT_EQ(::pipe2(line, O_NONBLOCK | O_CLOEXEC), 0);
  const FakeClock clock;
  std::atomic<long> lost{7};
  std::atomic<int> asked{0};
  LineReader reader(
      line[0], clock, [] {}, LineReader::Flow::kMayOverflow,
      [&]() -> std::optional<long> { return ++asked, lost.load(); });
  Received in;
  std::string taken;
  // Writes `chars` and waits until the reader has read them.
  const auto send = [&](const std::string& chars) {
    int unread = 0;
    return ::write(line[1], chars.data(), chars.size()) == static_cast<ssize_t>(chars.size()) &&
           WaitUntil([&] { return ::ioctl(line[0], FIONREAD, &unread) == 0 && unread == 0; }, 30);
  };
  const auto takenBecomes = [&](const std::string& expected) {
    return WaitUntil([&] { return (taken = Taken(reader, in)) == expected; }, 30);
  };
  ASSERT_TRUE(send("1\r") && takenBecomes("1\r")) << taken;
  ASSERT_TRUE(send("2\r") && takenBecomes("1\r2\r")) << taken;
  lost = 8;
  // Asked before the read and again once what waited behind it is dropped.
  const int before = asked;
  ASSERT_TRUE(send("3\r4\r") && WaitUntil([&] { return asked >= before + 2; }, 30));
  EXPECT_TRUE(send("5\r") && takenBecomes("1\r2\r5\r+2")) << taken;
  EXPECT_TRUE(send("6\r") && takenBecomes("1\r2\r5\r+26\r")) << taken;

  // A full line starts a drop, which meets the end of the pipe.
  const std::string full(LineReader::kFullLine + 100, '9');
  ASSERT_EQ(::write(line[1], full.data(), full.size()), static_cast<ssize_t>(full.size()));
  ::close(line[1]);
  EXPECT_TRUE(WaitUntil([&] { return reader.Lost(); }, 30));
  ::close(line[0]);
}

// A terminal's end whose other end went away fails its reads (an adapter pulled gives EIO):
// the reading ends and says the device is lost.
TEST(LineReader, EndsWhenTheTerminalFailsItsReads) {
  for (const bool readsFar : {false, true}) {
    int far = -1, near = -1;
    ASSERT_EQ(::openpty(&far, &near, nullptr, nullptr, nullptr), 0);
    const int reading = readsFar ? far : near;
    const FakeClock clock;
    LineReader reader(
        reading, clock, [] {}, LineReader::FlowOf(reading));
    ::close(readsFar ? near : far);
    EXPECT_TRUE(WaitUntil([&] { return reader.Lost(); }, 30)) << readsFar;
    ::close(reading);
  }
}

}  // namespace
}  // namespace tarnwell::testing
