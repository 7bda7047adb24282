// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <functional>
#include <map>
#include <string>
#include <utility>
#include <vector>

namespace tarnwell::testing {

std::string ReadFile(const std::string& path);
void WriteFile(const std::string& path, const std::string& text);

// The pieces of `text` between `terminator`s; a last piece without its terminator is kept.
std::vector<std::string> Split(const std::string& text, const std::string& terminator);

// Steps "name=value" separated by ';', as (name, value); a step without '=' has no value.
std::vector<std::pair<std::string, std::string>> Steps(const std::string& text);

// Polls `done` every 10 ms for up to `timeout` seconds.
bool WaitUntil(const std::function<bool()>& done, double timeout);

// A reading as the simulator writes it ("+ 123.45": the sign may stand apart).
double Number(std::string frame);
std::string Fixed(double value, int decimals);

// config.ini of the defaults as a fresh program writes it, by hand, with LastLogTime
// "31/01/2024 15:45:02" and the record name "20240131154502.txt".
std::string GoldenConfig();
// Settings of a case by the names of their fields in config.ini: {{"CommPort", "1"}}.
using ConfigValues = std::map<std::string, std::string>;
// The settings of `steps` as Steps() reads them: "CommPort=1;Language=255".
ConfigValues ConfigOf(const std::string& steps);
// The line of config.ini (1 to 39) that holds the field `name`; throws for a name the file lacks.
int ConfigLineOf(const std::string& name);
// The field the line `line` (1 to 39) of config.ini holds.
std::string ConfigFieldOf(int line);
// GoldenConfig() with the values of the fields in `values` replaced.
std::string ConfigIniText(const ConfigValues& values);

}  // namespace tarnwell::testing
