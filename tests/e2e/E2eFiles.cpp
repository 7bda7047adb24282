// SPDX-License-Identifier: GPL-3.0-or-later
#include "E2eFiles.h"

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

const std::vector<std::string>& ConfigComments() {
  static const std::vector<std::string> comments = {
      "'Advanced mode or Customer. Use 0 as default",
      "'Guide Lines. 1:visible/0:not",
      "'Expanded view. 1:Enable/0:Disable",
      "'Number of Characters",
      "'Omitted characters",
      "'Communication port",
      "'Baudrate",
      "'Log Time in seconds",
      "'Last Log time information",
      "'Performance setting. 0:Low/1:Mid/2:High/3:Ultra",
      "'Number of samples",
      "'Minimum value for the graphic view",
      "'Maximum value for the graphic view",
      "'Kay\xFDt dosyas\xFD tipi. 1:xls/0:txt",
      "'Data record enable. 0:dis/1:en",
      "'Record file name",
      "'Incremental record. 0:dis/1:en",
      "'Log variation value. Def:0",
      "'Language settings 0:En/1:Tr/2:Bg/3:Ru",
      "'Linemode or not 0:not/1:line",
      "'Back Color Red Def:5",
      "'Back Color Green Def:5",
      "'Back Color Blue Def:5",
      "' Line Color Red Def:224",
      "' L\xDDne Color Green Def:224",
      "' L\xDDne Color Blue Def:224",
      "' Font Color Red Def:224",
      "' Font Color Green Def:224",
      "' Font Color Blue Def:224",
      "' Mouse position data show. Def:0",
      "' Device Name sel. 0:Standart/1:Orvo & Zenn",
      "' Record can start automatically when started-up. 0:Cancel/1:Operate /Def:0",
      "' Windows state when started-up. 0:Normal/1:Minimized/2:Maximized/Def:0",
      "' Window position X. Def: ",
      "' Window position Y. Def: ",
      "' Window Width. Def:7290 ",
      "' Window Height. Def:6300 ",
      "'Log Threshold value. Def:0",
      "'Log Motion Timer value. Def:0",
  };
  return comments;
}

std::string ConfigIniText(const std::map<int, std::string>& values) {
  static const std::vector<std::string> defaults = {
      "0",   "1",   "1",       "10", "0", "1", "3", "1", "0", "1",    "100",  "0",       "1000",
      "0",   "0",   "e2e.txt", "1",  "0", "1", "0", "5", "5", "5",    "224",  "224",     "224",
      "224", "224", "224",     "0",  "0", "0", "0", "0", "0", "7290", "6300", "-100000", "0"};
  std::string text;
  for (std::size_t i = 0; i < defaults.size(); ++i) {
    const auto v = values.find(static_cast<int>(i) + 1);
    text += (v == values.end() ? defaults[i] : v->second) + ConfigComments()[i] + "\r\n";
  }
  return text;
}

}  // namespace tarnwell::testing
