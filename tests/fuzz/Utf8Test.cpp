// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include "Utf8.h"

namespace tarnwell::testing {
namespace {

// The language fuzzer's verdict on decoded texts rests on this check; a lenient one would hide
// a decoder that emits broken text.
TEST(Utf8Check, TakesEveryWellFormedLengthAndRefusesWhatDecodersMustNeverEmit) {
  for (std::string_view good : {"", "plain", "\xC3\xBC", "\xE2\x82\xAC", "\xEF\xBF\xBD",
                                "\xF0\x9F\x98\x80", "\xF4\x8F\xBF\xBF", "a\xC2\x80z"}) {
    EXPECT_TRUE(fuzz::IsUtf8(good)) << good;
  }
  EXPECT_TRUE(fuzz::IsUtf8(std::string_view("a\0b", 3)));
  // Lone continuation, cut short, lead before a letter, overlong in 2, 3 and 4 bytes, surrogate,
  // above U+10FFFF, lead bytes that never occur, the old six-byte form.
  for (std::string_view bad : {"\x80", "\xC3", "\xE2\x82", "\xC3z", "\xC0\xAF", "\xE0\x80\xAF",
                               "\xF0\x80\x80\xAF", "\xED\xA0\x80", "\xF4\x90\x80\x80",
                               "\xF5\x80\x80\x80", "\xFF", "\xFC\x80\x80\x80\x80\x80"}) {
    EXPECT_FALSE(fuzz::IsUtf8(bad)) << ::testing::PrintToString(std::string(bad));
  }
}

}  // namespace
}  // namespace tarnwell::testing
