// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <optional>
#include <string_view>

#include "i18n/LangTable.h"
#include "i18n/TextForm.h"

namespace tarnwell {

// The table index a control with text index `textIndex` takes a text from: the index read as
// a number, plus `offset`, rounded halves to even. Nothing for an empty or non-numeric index
// or a result outside 0 to 1000.
std::optional<int> TextIndexPlus(std::string_view textIndex, int offset);

// Gives the window's controls their language texts by their text index t: list entries
// 200 + t + i (lists of two or more entries), the window's title 200 + t, captions 200 + t and
// tool tips 100 + t; and every control's font the character set `charset`, before its list
// entries and again before its caption. What a control cannot take it keeps; nothing is
// reported.
void ApplyFormTexts(TextForm& form, const LangTable& texts, int charset);

}  // namespace tarnwell
