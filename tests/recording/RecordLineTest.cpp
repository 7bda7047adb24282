// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include "recording/RecordLine.h"

namespace tarnwell {
namespace {

TEST(RecordLine, FieldsAndSeparatorsByteForByte) {
  const DateTime at{2024, 1, 31, 15, 45, 2, 120};
  EXPECT_EQ(RecordLine(1, "1250.5", at, Regional{'.', '/'}),
            "1\t1250.5\t31/01/24\t15:45:02\t120\r\n");
  EXPECT_EQ(RecordLine(1, "1250,5", at, Regional{',', '.'}),
            "1\t1250,5\t31.01.24\t15:45:02\t120\r\n");

  // Leading zeros everywhere, a two-digit year, and a count that does not turn into 1E+06.
  const DateTime early{2009, 3, 4, 0, 5, 9, 7};
  EXPECT_EQ(RecordLine(1000000, "-3", early, Regional{}),
            "1000000\t-3\t04/03/09\t00:05:09\t007\r\n");
  const DateTime y2k{2000, 12, 9, 23, 59, 59, 999};
  EXPECT_EQ(RecordLine(12, "", y2k, Regional{}), "12\t\t09/12/00\t23:59:59\t999\r\n");
}

}  // namespace
}  // namespace tarnwell
