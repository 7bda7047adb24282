// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

namespace tarnwell::text {

// Indices of the texts the program's code uses directly (0 to 99). Captions and tool tips of
// controls follow from their text index (200 + t and 100 + t).
inline constexpr int kCharset = 1;
inline constexpr int kBadPort = 4;        // port number outside 0 to 99
inline constexpr int kSerialFailure = 5;  // opening or using the serial port failed
inline constexpr int kBadMinimum = 6;
inline constexpr int kBadMaximum = 7;
inline constexpr int kBadSampleCount = 14;
inline constexpr int kMinimumNotBelowMaximum = 15;
inline constexpr int kBadVariation = 19;
inline constexpr int kNoPort = 20;  // preview line for port 0
inline constexpr int kLanguageNextStart = 23;
inline constexpr int kBadThreshold = 24;
inline constexpr int kBadMotionTime = 25;
// Texts of our own, for failures the operator must hear of.
inline constexpr int kRecordWriteFailed = 90;
inline constexpr int kRecordLinesDropped = 91;
inline constexpr int kRecordFolderFailed = 92;
inline constexpr int kRecordFileFailed = 93;
inline constexpr int kFileBrowserFailed = 94;
inline constexpr int kRecordWriteRecovered = 95;
inline constexpr int kFramesDropped = 96;

// Every index above, for checks that each shipped language has a text for it.
inline constexpr int kAllMessages[] = {kBadPort,
                                       kSerialFailure,
                                       kBadMinimum,
                                       kBadMaximum,
                                       kBadSampleCount,
                                       kMinimumNotBelowMaximum,
                                       kBadVariation,
                                       kNoPort,
                                       kLanguageNextStart,
                                       kBadThreshold,
                                       kBadMotionTime,
                                       kRecordWriteFailed,
                                       kRecordLinesDropped,
                                       kRecordFolderFailed,
                                       kRecordFileFailed,
                                       kFileBrowserFailed,
                                       kRecordWriteRecovered,
                                       kFramesDropped};

}  // namespace tarnwell::text
