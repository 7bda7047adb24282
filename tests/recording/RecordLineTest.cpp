// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include "recording/RecordFileName.h"
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

TEST(RecordFileName, DigitsBlankInAdvancedModeAndExtension) {
  const DateTime at{2024, 1, 31, 15, 45, 2, 999};
  EXPECT_EQ(NewLogFileName(at, false, "", 0), "20240131154502.txt");
  EXPECT_EQ(NewLogFileName(at, false, "", 1), "20240131154502.xls");
  EXPECT_EQ(NewLogFileName(at, true, "", 0), "20240131154502 .txt");
  EXPECT_EQ(NewLogFileName(at, true, "", 1), "20240131154502 .xls");
  EXPECT_EQ(NewLogFileName(at, false, "", 2), "20240131154502.txt");
  EXPECT_EQ(NewLogFileName(DateTime{2025, 2, 3, 4, 5, 6, 0}, false, "", 0), "20250203040506.txt");
}

TEST(RecordFileName, NamesThatCouldLeaveTheRecordFolderAreRefused) {
  EXPECT_TRUE(IsPlainFileName("20240131154502.txt"));
  EXPECT_TRUE(IsPlainFileName("20240131154502 .xls"));
  EXPECT_TRUE(IsPlainFileName(".hidden.txt"));
  for (const char* bad : {"", ".", "..", "../config.ini", "a/b.txt", "/etc/passwd", "..\\x.txt",
                          "sub\\x.txt", "x..txt"}) {
    EXPECT_FALSE(IsPlainFileName(bad)) << bad;
  }
  EXPECT_FALSE(IsPlainFileName(std::string("a\0b", 3)));
}

}  // namespace
}  // namespace tarnwell
