// SPDX-License-Identifier: GPL-3.0-or-later
#include "TestFiles.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <stdexcept>
#include <thread>

#include "config/ConfigTable.h"

namespace tarnwell::testing {

std::string ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), {}};
}

void WriteFile(const std::string& path, const std::string& text) {
  std::ofstream(path, std::ios::binary) << text;
}

std::vector<std::string> Split(const std::string& text, const std::string& terminator) {
  std::vector<std::string> lines;
  for (std::size_t from = 0, end; from < text.size(); from = end + terminator.size()) {
    end = std::min(text.find(terminator, from), text.size());
    lines.push_back(text.substr(from, end - from));
  }
  return lines;
}

std::vector<std::pair<std::string, std::string>> Steps(const std::string& text) {
  std::vector<std::pair<std::string, std::string>> steps;
  for (const std::string& step : Split(text, ";")) {
    const std::size_t is = std::min(step.find('='), step.size());
    steps.emplace_back(step.substr(0, is), step.substr(std::min(is + 1, step.size())));
  }
  return steps;
}

bool WaitUntil(const std::function<bool()>& done, double timeout) {
  const auto until = std::chrono::steady_clock::now() + std::chrono::duration<double>(timeout);
  while (!done()) {
    if (std::chrono::steady_clock::now() > until) return false;
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  return true;
}

double Number(std::string frame) {
  std::erase(frame, ' ');
  return std::stod(frame);
}

std::string Fixed(double value, int decimals) {
  char text[64];
  std::snprintf(text, sizeof text, "%.*f", decimals, value);
  return text;
}

std::string GoldenConfig() { return ReadFile(TARNWELL_GOLDEN_CONFIG); }

ConfigValues ConfigOf(const std::string& steps) {
  const auto pairs = Steps(steps);
  return {pairs.begin(), pairs.end()};
}

int ConfigLineOf(const std::string& name) {
  const auto& rows = ConfigRows();
  for (std::size_t i = 0; i < rows.size(); ++i) {
    if (name == rows[i].field) return static_cast<int>(i) + 1;
  }
  throw std::invalid_argument("config.ini has no field " + name);
}

std::string ConfigFieldOf(int line) {
  return ConfigRows().at(static_cast<std::size_t>(line - 1)).field;
}

std::string ConfigIniText(const ConfigValues& values) {
  std::vector<std::string> lines = Split(GoldenConfig(), "\r\n");
  for (const auto& [name, value] : values) {
    std::string& line = lines.at(static_cast<std::size_t>(ConfigLineOf(name) - 1));
    line = value + line.substr(line.find('\'', 1));
  }
  std::string text;
  for (const std::string& line : lines) text += line + "\r\n";
  return text;
}

}  // namespace tarnwell::testing
