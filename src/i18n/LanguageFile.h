// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string_view>

#include "config/AppConfig.h"
#include "i18n/LangTable.h"
#include "platform/CodePages.h"
#include "platform/FileSystem.h"
#include "platform/MessageBox.h"
#include "platform/Regional.h"

namespace tarnwell {

// Stores the texts of one language file: line k is text k, taken from its second character up
// to the next double quote (or the line's end when there is none). Lines end at CR LF, LF or
// CR; lines past 1000 are not stored. Every text is decoded from the code page that the file's
// own text 1 names. Entries the file has no line for keep what they held. Returns the number
// of lines the file has.
int ReadLanguageText(std::string_view bytes, LangTable& texts, const CodePages& codePages);

// Fills `texts` from the language file `config.Language` selects in the program's folder,
// falling back to the standard file "std.lng" with a message (and `Language` becoming 255)
// when the selected one is missing, reserved or shorter than 200 lines. False when the
// standard file itself is missing or too short: the program must end.
bool ReadLanguageFile(AppConfig& config, LangTable& texts, const FileSystem& files,
                      MessageBox& messages, const Regional& regional, const CodePages& codePages);

}  // namespace tarnwell
