// SPDX-License-Identifier: GPL-3.0-or-later
#include "Golden.h"

#include <cstdio>
#include <cstdlib>

#include "TestFiles.h"

namespace tarnwell::testing {

::testing::AssertionResult MatchesGolden(const std::string& file, const std::string& actual) {
  const std::string path = std::string(TARNWELL_TESTS_DIR) + "/" + file;
  if (const char* set = std::getenv("TARNWELL_UPDATE_GOLDEN"); set && set == std::string("1")) {
    WriteFile(path, actual);
    return ::testing::AssertionSuccess();
  }
  const std::string expected = ReadFile(path);
  if (expected == actual) return ::testing::AssertionSuccess();
  const auto want = Split(expected, "\n"), got = Split(actual, "\n");
  std::size_t line = 0;
  while (line < want.size() && line < got.size() && want[line] == got[line]) ++line;
  auto at = [line](const std::vector<std::string>& lines) {
    return line < lines.size() ? "\"" + lines[line] + "\"" : std::string("end of text");
  };
  return ::testing::AssertionFailure()
         << path << " line " << line + 1 << ": expected " << at(want) << ", got " << at(got);
}

::testing::AssertionResult MatchesScript(
    const std::string& file, const std::function<std::string(const std::string&)>& run) {
  std::string out;
  int cases = 0;
  for (const auto& line : Split(ReadFile(std::string(TARNWELL_TESTS_DIR) + "/" + file), "\n")) {
    if (line.empty() || line.starts_with("= ")) continue;
    out += line + "\n";
    if (line.starts_with("#")) continue;
    ++cases;
    for (const auto& piece : Split(run(line) + "\n", "\n")) out += "= " + piece + "\n";
  }
  // A script gone or emptied would otherwise pass, checking nothing.
  if (cases == 0) return ::testing::AssertionFailure() << file << " holds no case";
  return MatchesGolden(file, out);
}

std::string GoldenNumber(double value) {
  char text[64];
  std::snprintf(text, sizeof text, "%.6f", value);
  std::string out = text;
  if (out.find('.') != std::string::npos) {
    out.erase(out.find_last_not_of('0') + 1);
    if (out.back() == '.') out.pop_back();
  }
  return out == "-0" ? "0" : out;
}

std::string DumpDrawList(const DrawList& list) {
  auto color = [](DrawColor c) {
    return std::to_string(c.red) + "," + std::to_string(c.green) + "," + std::to_string(c.blue);
  };
  std::string out;
  for (const DrawOp& op : list.Ops()) {
    const auto at = [](double x, double y) {
      return GoldenNumber(x) + " " + GoldenNumber(y) + " ";
    };
    if (op.kind == DrawOp::Kind::kClear) out += "clear " + color(op.color);
    if (op.kind == DrawOp::Kind::kLine)
      out += "line " + at(op.x1, op.y1) + at(op.x2, op.y2) + color(op.color) + " w" +
             std::to_string(op.penWidth);
    if (op.kind == DrawOp::Kind::kText) {
      const DrawText& t = list.TextOf(op);
      out += "text " + at(op.x1, op.y1) + "\"" + t.text + "\" " + color(op.color) + " " +
             t.font.name + " " + GoldenNumber(t.font.points) + (t.font.bold ? " bold" : "");
    }
    out += "\n";
  }
  return out;
}

}  // namespace tarnwell::testing
