// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>
#include <vector>

#include "i18n/LangTable.h"

class QWidget;

namespace tarnwell {

// Gives `window` and the controls below it their language texts by their "textIndex" property
// (a QString holding the design's text index): captions of labels, buttons and frames, tool
// tips, combo box and list entries, and the window's title. The character set is accepted and
// not used: Qt shows the decoded Unicode texts in any font.
void ApplyFormTextsTo(QWidget* window, const LangTable& texts);

// A control or window carrying a text index, with what it can show of the language texts.
struct ControlTextIndex {
  std::string name;       // objectName
  std::string textIndex;  // the "textIndex" property as it stands
  bool isWindow = false;  // the window itself: its caption is the title
  bool caption = false;   // shows a caption (text), not a picture
  int listEntries = 0;    // entries of its list
};

// The window (first, when it has a text index) and every control below it that has a text
// index, in the order the texts are given.
std::vector<ControlTextIndex> CollectTextIndices(QWidget* window);

}  // namespace tarnwell
