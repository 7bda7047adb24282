// SPDX-License-Identifier: GPL-3.0-or-later
#include "E2eFiles.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <fstream>
#include <sstream>
#include <thread>

#include "config/ConfigFile.h"

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

std::vector<std::string> SplitLines(const std::string& text, const std::string& terminator) {
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

std::string LanguageFileText(const std::string& portFailure) {
  std::string text;
  for (int k = 0; k < 200; ++k) {
    const std::string entry = k == 1 ? "0" : k == 5 ? portFailure : "Text " + std::to_string(k);
    text += "\"" + entry + "\"\r\n";
  }
  return text;
}

std::string ConfigIniText(const std::map<int, std::string>& values) {
  static const std::vector<std::string> defaults = {
      "0",   "1",   "1",       "10", "0", "1", "3", "1", "0", "1",    "100",  "0",       "1000",
      "0",   "0",   "e2e.txt", "1",  "0", "1", "0", "5", "5", "5",    "224",  "224",     "224",
      "224", "224", "224",     "0",  "0", "0", "0", "0", "0", "7290", "6300", "-100000", "0"};
  std::string text;
  for (std::size_t i = 0; i < defaults.size(); ++i) {
    const auto v = values.find(static_cast<int>(i) + 1);
    text += (v == values.end() ? defaults[i] : v->second) + ConfigComment(static_cast<int>(i) + 1) +
            "\r\n";
  }
  return text;
}

}  // namespace tarnwell::testing
