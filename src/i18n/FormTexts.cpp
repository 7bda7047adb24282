// SPDX-License-Identifier: GPL-3.0-or-later
#include "i18n/FormTexts.h"

#include <string>

#include "config/NumberText.h"

namespace tarnwell {
namespace {

constexpr int kCaptionOffset = 200;
constexpr int kToolTipOffset = 100;

// One step of one control: whatever goes wrong in it leaves that property as it was.
template <typename Step>
void Quietly(Step step) {
  try {
    step();
  } catch (...) {
  }
}

std::optional<std::string> TextAt(const LangTable& texts, std::string_view textIndex, int offset) {
  const std::optional<int> index = TextIndexPlus(textIndex, offset);
  if (!index) return std::nullopt;
  return texts.Lang(*index);
}

void SetLists(TextControl& control, const LangTable& texts) {
  const std::string textIndex = control.TextIndex();
  const int count = control.ListCount();
  if (count < 2) return;
  for (int i = 0; i < count; ++i) {
    Quietly([&] {
      if (auto text = TextAt(texts, textIndex, kCaptionOffset + i)) control.SetListEntry(i, *text);
    });
  }
}

}  // namespace

std::optional<int> TextIndexPlus(std::string_view textIndex, int offset) {
  // Text indices are written in the design, always with a decimal point.
  const std::optional<double> t = ToNumber(textIndex, Regional{});
  if (!t) return std::nullopt;
  const double index = RoundHalfEven(*t + offset);
  if (!(index >= LangTable::kFirst && index <= LangTable::kLast)) return std::nullopt;
  return static_cast<int>(index);
}

void ApplyFormTexts(TextForm& form, const LangTable& texts, int charset) {
  int count = 0;
  Quietly([&] { count = form.ControlCount(); });
  for (int c = 0; c < count; ++c) {
    Quietly([&] {
      TextControl& control = form.Control(c);
      Quietly([&] { control.SetFontCharset(charset); });
      SetLists(control, texts);
    });
  }
  Quietly([&] {
    if (auto title = TextAt(texts, form.TextIndex(), kCaptionOffset)) form.SetTitle(*title);
  });
  for (int c = 0; c < count; ++c) {
    Quietly([&] {
      TextControl& control = form.Control(c);
      Quietly([&] { control.SetFontCharset(charset); });
      Quietly([&] {
        if (auto caption = TextAt(texts, control.TextIndex(), kCaptionOffset)) {
          control.SetCaption(*caption);
        }
      });
      Quietly([&] {
        if (auto tip = TextAt(texts, control.TextIndex(), kToolTipOffset)) control.SetToolTip(*tip);
      });
    });
  }
}

}  // namespace tarnwell
