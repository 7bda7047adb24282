// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "i18n/LangTable.h"

class QWidget;

namespace tarnwell {

// Gives `window` and the controls below it their language texts by their "textIndex" property
// (a QString holding the design's text index): captions of labels, buttons and frames, tool
// tips, combo box and list entries, and the window's title. The fonts keep theirs: Qt shows the
// decoded Unicode texts in any font.
void ApplyFormTextsTo(QWidget* window, const LangTable& texts);

}  // namespace tarnwell
