// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <tuple>
#include <vector>

#include "platform/ReadBacklog.h"

namespace tarnwell::testing {
namespace {

using Follows = LineRead::Follows;

Instant At(int ms) { return Instant{std::chrono::milliseconds(ms)}; }

std::vector<std::tuple<std::size_t, Instant, Follows>> Reads(const Received& in) {
  std::vector<std::tuple<std::size_t, Instant, Follows>> reads;
  for (const LineRead& r : in.reads) reads.emplace_back(r.end, r.at, r.follows);
  return reads;
}

// Reads keep their instants and order; taken into reads already there, their ends follow on.
TEST(ReadBacklog, KeepsReadsInOrderAfterAnOpeningAndAppendsThemWhereTaken) {
  ReadBacklog backlog;
  EXPECT_TRUE(backlog.Keep("+ 1.0", At(1)));
  EXPECT_TRUE(backlog.Keep("0\r", At(2)));
  Received in;
  backlog.TakeInto(in);
  EXPECT_EQ(in.chars, "+ 1.00\r");
  EXPECT_EQ(Reads(in),
            (decltype(Reads(in)){{5, At(1), Follows::kOpening}, {7, At(2), Follows::kLine}}));
  backlog.MarkLoss();
  EXPECT_TRUE(backlog.Keep("2\r", At(3)));
  EXPECT_TRUE(backlog.Keep("3\r", At(4)));
  backlog.TakeInto(in);
  EXPECT_EQ(in.chars, "+ 1.00\r2\r3\r");
  EXPECT_EQ(Reads(in)[2], std::tuple(9u, At(3), Follows::kLoss));
  EXPECT_EQ(Reads(in)[3], std::tuple(11u, At(4), Follows::kLine));
  Received none;
  backlog.TakeInto(none);
  EXPECT_TRUE(none.chars.empty() && none.reads.empty());
}

// Neither the characters nor the reads waiting grow past their bounds; what does not fit is
// dropped and the next read kept follows the loss and tells the frames that ended in it.
TEST(ReadBacklog, DropsWhatDoesNotFitAndMarksTheGap) {
  ReadBacklog backlog;
  const std::string chunk(4096, 'x');
  std::size_t kept = 0;
  while (backlog.Keep(chunk, At(1))) kept += chunk.size();
  EXPECT_EQ(kept, ReadBacklog::kMostChars);
  EXPECT_FALSE(backlog.Keep("y\r+ 2\x03", At(2)));
  Received in;
  backlog.TakeInto(in);
  EXPECT_EQ(in.chars.size(), ReadBacklog::kMostChars);
  ASSERT_TRUE(backlog.Keep("z", At(3)));
  Received after;
  backlog.TakeInto(after);
  EXPECT_EQ(Reads(after), (decltype(Reads(after)){{1, At(3), Follows::kLoss}}));
  EXPECT_EQ(after.reads.back().framesDropped, 2u);

  std::size_t reads = 0;
  while (backlog.Keep("r", At(4))) ++reads;
  EXPECT_EQ(reads, ReadBacklog::kMostReads);
  backlog.TakeInto(after);
  EXPECT_TRUE(backlog.Keep("s", At(5)));
  Received last;
  backlog.TakeInto(last);
  EXPECT_EQ(Reads(last), (decltype(Reads(last)){{1, At(5), Follows::kLoss}}));
}

// Losses the reader found count their frames up to the next read kept; at the end of reading,
// frames dropped after the last read are told in a read of nothing.
TEST(ReadBacklog, CountsTheFramesOfEachLossUntilTheNextReadAndAtTheEnd) {
  ReadBacklog backlog;
  EXPECT_FALSE(backlog.TellDropped(At(1)));
  backlog.MarkLoss(2);
  backlog.MarkLoss(3);
  ASSERT_TRUE(backlog.Keep("1\r", At(2)));
  backlog.MarkLoss(4);
  EXPECT_TRUE(backlog.TellDropped(At(3)));
  EXPECT_FALSE(backlog.TellDropped(At(4)));
  Received in;
  backlog.TakeInto(in);
  std::vector<std::tuple<std::size_t, Follows, std::size_t>> reads;
  for (const LineRead& r : in.reads) reads.emplace_back(r.end, r.follows, r.framesDropped);
  EXPECT_EQ(reads, (decltype(reads){{2, Follows::kLoss, 5}, {2, Follows::kLoss, 4}}));
  EXPECT_EQ(ReadBacklog::FrameEnds("1\r2\x03"
                                   "3\n"),
            2u);
}

}  // namespace
}  // namespace tarnwell::testing
