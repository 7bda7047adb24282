// SPDX-License-Identifier: GPL-3.0-or-later
#include "i18n/LanguageFile.h"

#include <optional>
#include <string>
#include <vector>

#include "config/ConfigFile.h"
#include "i18n/LangCharset.h"
#include "i18n/TextIndex.h"

namespace tarnwell {
namespace {

constexpr int kMinimumLines = 200;
constexpr int kFallbackLanguage = 255;

constexpr const char* kTitle = "Language File Error";
constexpr const char* kShortTitle = "Language File Error [Missing Number of Lines]";
constexpr const char* kShortText =
    "Error opening language support file. Standart language support file will be load. Please "
    "re-install program or control your language file  (*.lng)";
constexpr const char* kStandardFile = "std.lng";
constexpr const char* kStandardTitle = "File Error";
constexpr const char* kStandardText = "Can not find Language file or file is corrupted!";

struct LanguageChoice {
  const char* file;
  const char* message;
};

// By the value of Language; 7 and 8 name no file.
constexpr LanguageChoice kChoices[] = {
    {"en.lng", "Can not find the English Language file, or the file is corrupted!"},
    {"tr.lng", "Can not find the Turkish Language file, or the file is corrupted!"},
    {"ru.lng", "Can not find the Russian Language file, or the file is corrupted!"},
    {"bg.lng", "Can not find the Bulgarian Language file, or the file is corrupted!"},
    {"fr.lng", "Can not find the French Language file, or the file is corrupted!"},
    {"gr.lng", "Can not find the German Language file, or the file is corrupted!"},
    {"sp.lng", "Can not find the Spanish Language file, or the file is corrupted!"},
    {nullptr, "This Language type is reserved!, English type will be used"},
    {nullptr, "This section is reserved!, English type will be used"},
};

// The first character is the opening quote and is not looked at.
std::string_view LineText(std::string_view line) {
  if (line.empty()) return {};
  const std::string_view rest = line.substr(1);
  return rest.substr(0, rest.find('"'));
}

// The choice a Language value makes: 0 to 8, or nothing for the standard file (any other
// number, and a text that is not a number).
std::optional<int> Choice(const Value& language, const Regional& regional) {
  const std::optional<double> n = language.AsNumber(regional);
  if (!n) return std::nullopt;
  for (int i = 0; i <= 8; ++i) {
    if (*n == i) return i;
  }
  return std::nullopt;
}

}  // namespace

int ReadLanguageText(std::string_view bytes, LangTable& texts, const CodePages& codePages) {
  const std::vector<std::string_view> lines = SplitLines(bytes);
  const int charset =
      lines.size() > text::kCharset ? LangCharsetFromText(LineText(lines[text::kCharset])) : 0;
  const int codePage = CodePageOfCharset(charset);
  const int count = static_cast<int>(lines.size());
  for (int k = 0; k < count && k <= LangTable::kLast; ++k) {
    texts.Set(k, codePages.ToUtf8(LineText(lines[static_cast<std::size_t>(k)]), codePage));
  }
  return count;
}

bool ReadLanguageFile(AppConfig& config, LangTable& texts, const FileSystem& files,
                      MessageBox& messages, const Regional& regional, const CodePages& codePages) {
  const std::string folder = files.ProgramFolder();
  for (;;) {
    const std::optional<int> choice = Choice(config.Language, regional);
    if (!choice) {
      const std::optional<std::string> bytes = files.ReadAll(files.Join(folder, kStandardFile));
      // A short standard file would send the fallback round for ever; it counts as damaged.
      if (!bytes || ReadLanguageText(*bytes, texts, codePages) < kMinimumLines) {
        messages.Show(kStandardText, kStandardTitle);
        return false;
      }
      return true;
    }
    const LanguageChoice& chosen = kChoices[*choice];
    const char* failure = chosen.message;
    const char* failureTitle = kTitle;
    if (chosen.file != nullptr) {
      const std::optional<std::string> bytes = files.ReadAll(files.Join(folder, chosen.file));
      if (bytes && ReadLanguageText(*bytes, texts, codePages) >= kMinimumLines) return true;
      if (bytes) {
        failure = kShortText;
        failureTitle = kShortTitle;
      }
    }
    messages.Show(failure, failureTitle);
    config.Language = Value(kFallbackLanguage);
  }
}

}  // namespace tarnwell
