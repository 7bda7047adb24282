// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <stdexcept>
#include <string>
#include <vector>

#include "i18n/FormTexts.h"

namespace tarnwell::testing {
namespace {

using Strings = std::vector<std::string>;

// A control whose steps named in `fails` throw ("entry0" fails the first list entry only).
struct FakeControl : TextControl {
  void Step(const std::string& kind) const {
    if (fails.find(kind) != std::string::npos) throw std::runtime_error(kind);
  }
  std::string TextIndex() const override { return index; }
  void SetFontCharset(int) override { Step("charset"); }
  int ListCount() const override { return static_cast<int>(list.size()); }
  void SetListEntry(int i, const std::string& t) override {
    Step("entry" + std::to_string(i)), list[static_cast<std::size_t>(i)] = t;
  }
  void SetCaption(const std::string& t) override { Step("caption"), caption = t; }
  void SetToolTip(const std::string& t) override { Step("tip"), tip = t; }
  std::string index, fails, caption = "design", tip = "design tip";
  Strings list;
};

struct FakeForm : TextForm {
  std::string TextIndex() const override { return ""; }
  void SetTitle(const std::string&) override {}
  int ControlCount() const override { return static_cast<int>(controls.size()); }
  TextControl& Control(int i) override { return controls[static_cast<std::size_t>(i)]; }
  std::vector<FakeControl> controls;
};

// The common cases run on real windows with the shipped languages; these are the odd indices and
// controls that fail a step. What each control shows: caption | tip | list entries.
TEST(FormTexts, OddIndicesAndFailingStepsCostOnlyTheirOwnText) {
  struct Case {
    std::string index, fails;
    Strings list;
    std::string shown;
  };
  const std::vector<Case> cases = {
      {"abc", "", {}, "design | design tip |"},
      {" 38 ", "", {}, "text 238 |  |"},  // text 138 is empty: an empty tip
      {"-150", "", {}, "text 50 | design tip |"},
      {"52.5", "", {}, "text 252 | text 152 |"},  // halves round to even
      {"53.5", "", {}, "text 254 | text 154 |"},
      {"55.5", "", {"a", "b", "c"}, "text 256 | text 156 | text 256 text 256 text 258"},
      {"57", "", {"only"}, "text 257 | text 157 | only"},  // one entry is no list
      {"52", "caption", {}, "design | text 152 |"},
      {"38", "charset", {}, "text 238 |  |"},
      {"56", "entry0 tip", {"a", "b", "c"}, "text 256 | design tip | a text 257 text 258"},
  };
  FakeForm form;
  for (const Case& c : cases) {
    form.controls.emplace_back();
    form.controls.back().index = c.index, form.controls.back().fails = c.fails;
    form.controls.back().list = c.list;
  }
  LangTable texts;
  for (int k = 0; k <= 1000; ++k) texts.Set(k, "text " + std::to_string(k));
  texts.Set(138, "");
  ApplyFormTexts(form, texts, 204);
  for (std::size_t i = 0; i < cases.size(); ++i) {
    const FakeControl& got = form.controls[i];
    std::string shown = got.caption + " | " + got.tip + " |";
    for (const std::string& entry : got.list) shown += " " + entry;
    EXPECT_EQ(shown, cases[i].shown) << "index \"" << got.index << '"';
  }
  EXPECT_EQ(TextIndexPlus("800.5", 200), 1000);
  EXPECT_EQ(TextIndexPlus("801", 200), std::nullopt);
  EXPECT_EQ(TextIndexPlus("1e300", 200), std::nullopt);
}

}  // namespace
}  // namespace tarnwell::testing
