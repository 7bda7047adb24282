// SPDX-License-Identifier: GPL-3.0-or-later
#include <fcntl.h>
#include <gtest/gtest.h>
#include <pty.h>
#include <sys/ioctl.h>
#include <unistd.h>

#include <atomic>
#include <memory>

#include "FakeClock.h"
#include "TestFiles.h"
#include "platform/posix/LineReader.h"
#include "platform/posix/RawLine.h"

namespace tarnwell::testing {
namespace {

using namespace std::string_literals;

// Each read as its length, "o" after an opening and "-n" after a loss in which n frames ended.
std::string ReadsOf(const Received& in) {
  std::string out;
  for (std::size_t i = 0, from = 0; i < in.reads.size(); from = in.reads[i++].end) {
    out += " " + std::to_string(in.reads[i].end - from);
    if (in.reads[i].follows == LineRead::Follows::kOpening) out += "o";
    if (in.reads[i].follows == LineRead::Follows::kLoss)
      out += "-" + std::to_string(in.reads[i].framesDropped);
  }
  return out;
}

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

// Filled while nobody read them: a pseudo-terminal, whose writer waited for room, loses nothing
// by the full reads that empty it; on a line that may overflow (a pipe taken for one) what waited
// behind the full read is dropped and its frames are counted, and reading goes on: a frame sent
// once the line is empty is taken, or counted, before the line ends.
TEST(LineReader, AFullReadDropsTheBacklogOnlyWhereTheLineMayHaveOverflowed) {
  const std::string frame = "+123.45\r";
  int master = -1, slave = -1, pipe[2];
  ASSERT_TRUE(::openpty(&master, &slave, nullptr, nullptr, nullptr) == 0 &&
              SetRawLine(slave, 9600) == 0 && ::pipe2(pipe, O_NONBLOCK | O_CLOEXEC) == 0);
  ::fcntl(master, F_SETFL, O_NONBLOCK);
  std::size_t written = 0;
  for (ssize_t n; (n = ::write(master, frame.data(), frame.size())) > 0;) written += n;
  std::string frames;
  for (int i = 0; i < 2500; ++i) frames += frame;
  ASSERT_EQ(::write(pipe[1], frames.data(), frames.size()), ssize_t(frames.size()));
  using Flow = LineReader::Flow;
  EXPECT_EQ(std::pair(LineReader::FlowOf(slave), LineReader::FlowOf(pipe[0])),
            std::pair(Flow::kWriterWaits, Flow::kWriterWaits));
  const FakeClock clock;
  LineReader waits(
      slave, clock, [] {}, Flow::kWriterWaits);
  LineReader overflows(
      pipe[0], clock, [] {}, Flow::kMayOverflow);
  Received kept, cut;
  EXPECT_TRUE(WaitUntil([&] { return waits.TakeInto(kept), kept.chars.size() >= written; }, 30));
  int unread = 0;
  ASSERT_TRUE(
      WaitUntil([&] { return ::ioctl(pipe[0], FIONREAD, &unread) == 0 && unread == 0; }, 30));
  ASSERT_EQ(::write(pipe[1], frame.data(), frame.size()), ssize_t(frame.size()));
  ::close(pipe[1]);
  ASSERT_TRUE(WaitUntil([&] { return overflows.Lost(); }, 30));
  overflows.TakeInto(cut);
  std::size_t frameEnds = std::count(cut.chars.begin(), cut.chars.end(), '\r');
  for (const LineRead& read : cut.reads) frameEnds += read.framesDropped;
  EXPECT_TRUE(written > LineReader::kFullLine && kept.chars.size() == written &&
              kept.reads.at(0).end >= LineReader::kFullLine &&
              ReadsOf(kept).find('-') == std::string::npos)
      << written << ReadsOf(kept);
  // The kept read whole, and every frame sent kept or counted.
  EXPECT_EQ(std::tuple(ReadsOf(cut).substr(0, 7),
                       cut.chars.substr(0, 16384) == frames.substr(0, 16384), frameEnds),
            std::tuple(" 16384o"s, true, 2501u));
  for (const int fd : {master, slave, pipe[0]}) ::close(fd);
}

// While nobody takes the reads, the reader keeps no more than its bound; the next read it keeps
// follows the loss and counts the frames that ended in what it dropped.
TEST(LineReader, KeepsABoundedBacklogAndCountsTheFramesItDropped) {
  int line[2], unread = 0;
  ASSERT_EQ(::pipe2(line, O_NONBLOCK | O_CLOEXEC), 0);
  const FakeClock clock;
  auto reader = std::make_unique<LineReader>(
      line[0], clock, [] {}, LineReader::FlowOf(line[0]));
  // Writes 500 frames and waits until they are taken; 4000 characters are less than a full line.
  std::string frames;
  for (int i = 0; i < 500; ++i) frames += "+123.45\r";
  const auto send = [&] {
    return ::write(line[1], frames.data(), 4000) == 4000 &&
           WaitUntil([&] { return ::ioctl(line[0], FIONREAD, &unread) == 0 && unread == 0; }, 30);
  };
  for (std::size_t sent = 0; sent <= ReadBacklog::kMostChars; sent += 4000) ASSERT_TRUE(send());
  Received kept, after;
  reader->TakeInto(kept);
  ASSERT_TRUE(send() &&
              WaitUntil([&] { return reader->TakeInto(after), !after.reads.empty(); }, 30));
  EXPECT_EQ(std::pair(kept.chars.size(), ReadsOf(after)),
            std::pair(ReadBacklog::kMostChars / 4000 * 4000, std::string(" 4000-500")));
  reader.reset(), ::close(line[0]), ::close(line[1]);
}

}  // namespace
}  // namespace tarnwell::testing
