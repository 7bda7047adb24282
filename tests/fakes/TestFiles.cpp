// SPDX-License-Identifier: GPL-3.0-or-later
#include "TestFiles.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <fstream>
#include <sstream>
#include <thread>

namespace tarnwell::testing {

std::string ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream text;
  text << in.rdbuf();
  return text.str();
}

void WriteFile(const std::string& path, const std::string& text) {
  std::ofstream(path, std::ios::binary) << text;
}

std::vector<std::string> Split(const std::string& text, const std::string& terminator) {
  std::vector<std::string> lines;
  std::size_t from = 0;
  while (from < text.size()) {
    const std::size_t end = text.find(terminator, from);
    if (end == std::string::npos) {
      lines.push_back(text.substr(from));
      break;
    }
    lines.push_back(text.substr(from, end - from));
    from = end + terminator.size();
  }
  return lines;
}

bool CrLfLinesOnly(const std::string& text) {
  if (text.size() < 2 || text.compare(text.size() - 2, 2, "\r\n") != 0) return false;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '\r' && (i + 1 == text.size() || text[i + 1] != '\n')) return false;
    if (text[i] == '\n' && (i == 0 || text[i - 1] != '\r')) return false;
  }
  return true;
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

std::string LanguageFileText(const std::string& portFailure, const std::string& charset) {
  std::string text;
  for (int k = 0; k < 200; ++k) {
    const std::string entry = k == 1 ? charset : k == 5 ? portFailure : "Text " + std::to_string(k);
    text += "\"" + entry + "\"\r\n";
  }
  return text;
}

std::string GoldenConfig() { return ReadFile(TARNWELL_GOLDEN_CONFIG); }

std::string ConfigIniText(const std::map<int, std::string>& values) {
  std::vector<std::string> lines = Split(GoldenConfig(), "\r\n");
  for (const auto& [n, value] : values) {
    std::string& line = lines.at(static_cast<std::size_t>(n - 1));
    line = value + line.substr(line.find('\'', 1));
  }
  std::string text;
  for (const std::string& line : lines) text += line + "\r\n";
  return text;
}

}  // namespace tarnwell::testing
