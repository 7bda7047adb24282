// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>

namespace tarnwell {

// One control of a window as the language texts see it. A control ignores what it has no
// property for (a text box has no caption, a label no list); any of the setters may also
// fail by throwing, which costs the control only that one text.
class TextControl {
 public:
  virtual ~TextControl() = default;
  // The text index set in the window's design, as text; empty when it is not translated.
  virtual std::string TextIndex() const = 0;
  // Entries of its list; 0 when it has none.
  virtual int ListCount() const = 0;
  virtual void SetListEntry(int entry, const std::string& text) = 0;
  virtual void SetCaption(const std::string& text) = 0;
  virtual void SetToolTip(const std::string& text) = 0;
  // The character set of its font (LangCharset), for toolkits whose fonts have one.
  virtual void SetFontCharset(int charset) = 0;
};

}  // namespace tarnwell
