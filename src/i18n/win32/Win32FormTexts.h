// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <windows.h>

#include <optional>

#include "i18n/LangTable.h"

namespace tarnwell {

// The text index of a window or control as its design sets it; none removes it.
void SetTextIndex(HWND window, std::optional<int> textIndex);
std::optional<int> TextIndexOf(HWND window);

// Gives `window` and every control below it (in the order they were made) their language texts
// by their text index: captions of labels, buttons, check boxes, option buttons and frames,
// tool tips, the entries of lists of two or more, and the window's title; UTF-8 texts shown as
// UTF-16. Every control's font is made again in the language's character set `charset`
// (LangCharset: 162, 161, 178, 204 or 0), keeping its face, size and weight.
void ApplyFormTextsTo(HWND window, const LangTable& texts, int charset);

}  // namespace tarnwell
