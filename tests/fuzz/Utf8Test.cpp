// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include "Utf8.h"

namespace tarnwell::testing {
namespace {

// The language fuzzer's verdict on decoded texts rests on this check; a lenient one would hide
// a decoder that emits broken text.
TEST(Utf8Check, TakesEveryWellFormedLengthAndRefusesWhatDecodersMustNeverEmit) {
  for (const char* good : {"", "plain", "\xC3\xBC", "\xD0\x96", "\xE2\x82\xAC", "\xEF\xBF\xBD",
                           "\xF0\x9F\x98\x80", "\xF4\x8F\xBF\xBF", "a\xC2\x80z"}) {
    EXPECT_TRUE(fuzz::IsUtf8(good)) << good;
  }
  const char* bad[] = {
      "\x80",              // continuation without a lead
      "\xC3",              // cut short at the end
      "\xE2\x82",          // cut short inside a three-byte form
      "\xC3z",             // lead followed by a plain letter
      "\xC0\xAF",          // overlong "/"
      "\xE0\x80\xAF",      // overlong in three bytes
      "\xF0\x80\x80\xAF",  // overlong in four bytes
      "\xED\xA0\x80",      // a surrogate
      "\xF4\x90\x80\x80",  // above U+10FFFF
      "\xF5\x80\x80\x80",  // a lead byte that never occurs
      "\xFF",
      "\xFC\x80\x80\x80\x80\x80",  // the old six-byte form
  };
  for (const char* s : bad) EXPECT_FALSE(fuzz::IsUtf8(s)) << ::testing::PrintToString(s);
  EXPECT_FALSE(fuzz::IsUtf8(std::string_view("\xE2\x82\xAC", 2)));
  EXPECT_TRUE(fuzz::IsUtf8(std::string_view("a\0b", 3)));
}

}  // namespace
}  // namespace tarnwell::testing
