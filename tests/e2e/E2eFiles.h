// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <functional>
#include <map>
#include <string>
#include <vector>

namespace tarnwell::testing {

std::string ReadFile(const std::string& path);
void WriteFile(const std::string& path, const std::string& text);

// The pieces of `text` between `terminator`s; a last piece without its terminator is kept.
std::vector<std::string> SplitLines(const std::string& text, const std::string& terminator);
// True when `text` is lines each ended by CR LF, with no CR or LF anywhere else.
bool CrLfLinesOnly(const std::string& text);

// Polls `done` every 10 ms for up to `timeout` seconds.
bool WaitUntil(const std::function<bool()>& done, double timeout);

// A reading as the simulator writes it ("+ 123.45": the sign may stand apart).
double Number(std::string frame);
std::string Fixed(double value, int decimals);

// A language file of 200 lines: text 1 "0" (default charset), text 5 `portFailure`, the rest
// "Text <k>".
std::string LanguageFileText(const std::string& portFailure);

// A config.ini of the program's defaults (with a record name and a last-record time, which a
// read file must hold), with the values of the lines in `values` (1-based) replaced.
std::string ConfigIniText(const std::map<int, std::string>& values);

}  // namespace tarnwell::testing
