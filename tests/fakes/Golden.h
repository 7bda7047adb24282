// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "platform/DrawList.h"

namespace tarnwell::testing {

// Compares `actual` whole with tests/<file>. With TARNWELL_UPDATE_GOLDEN=1 in the environment
// the file is written instead, to be read and checked by hand before it is committed.
::testing::AssertionResult MatchesGolden(const std::string& file, const std::string& actual);

// Runs each case line of tests/<file> through `run` and compares the file whole with every case
// followed by its outcome, each line after "= "; lines starting with '#' are comments.
::testing::AssertionResult MatchesScript(const std::string& file,
                                         const std::function<std::string(const std::string&)>& run);

// A number as the golden files show it: at most six decimals, no trailing zeros, no "-0".
std::string GoldenNumber(double value);

// One line per drawing step: its kind, place, colour, pen width and, for a text, its characters
// and font.
std::string DumpDrawList(const DrawList& list);

}  // namespace tarnwell::testing
