// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <algorithm>
#include <stdexcept>
#include <string>
#include <vector>

#include "i18n/FormTexts.h"

namespace tarnwell::testing {
namespace {

using Strings = std::vector<std::string>;

// A control that logs each step it is given; the steps named in `fails` throw.
struct FakeControl : TextControl {
  void Step(const std::string& kind) {
    log.push_back(kind);
    if (fails.find(kind) != std::string::npos) throw std::runtime_error(kind);
  }
  std::string TextIndex() const override { return index; }
  void SetFontCharset(int c) override { Step("charset"), charset = c; }
  int ListCount() const override { return static_cast<int>(list.size()); }
  void SetListEntry(int i, const std::string& t) override {
    Step("entry"), list[static_cast<std::size_t>(i)] = t;
  }
  void SetCaption(const std::string& t) override { Step("caption"), caption = t; }
  void SetToolTip(const std::string& t) override { Step("tip"), tip = t; }

  std::string index, fails, caption = "design", tip = "design tip";
  Strings list, log;
  int charset = -1;
};

struct FakeForm : TextForm {
  std::string TextIndex() const override { return ""; }
  void SetTitle(const std::string& text) override { title = text; }
  int ControlCount() const override { return static_cast<int>(controls.size()); }
  TextControl& Control(int i) override { return controls[static_cast<std::size_t>(i)]; }
  std::string title = "Design title";
  std::vector<FakeControl> controls;
};

// The common cases run on real windows in the Qt adapter's test; these are the odd indices and
// controls that fail a step.
TEST(FormTexts, OddIndicesAndFailingStepsCostOnlyTheirOwnText) {
  struct Case {
    std::string index, fails;
    Strings list;
    std::string caption, tip;
    Strings listAfter;
  };
  const std::vector<Case> cases = {
      {"abc", "", {}, "design", "design tip", {}},
      {" 38 ", "", {}, "text 238", "", {}},  // text 138 is empty: an empty tip
      {"-150", "", {}, "text 50", "design tip", {}},
      {"", "", {}, "design", "design tip", {}},
      {"52.5", "", {}, "text 252", "text 152", {}},  // halves round to even
      {"53.5", "", {}, "text 254", "text 154", {}},
      {"55.5", "", {"a", "b", "c"}, "text 256", "text 156", {"text 256", "text 256", "text 258"}},
      {"57", "", {"only"}, "text 257", "text 157", {"only"}},  // one entry is no list
      {"52", "caption", {}, "design", "text 152", {}},
      {"38", "charset", {}, "text 238", "", {}},
      {"56", "entry tip", {"a", "b", "c"}, "text 256", "design tip", {"a", "b", "c"}},
  };
  FakeForm form;
  for (const Case& c : cases) {
    form.controls.push_back({});
    form.controls.back().index = c.index;
    form.controls.back().fails = c.fails;
    form.controls.back().list = c.list;
  }
  LangTable texts;
  for (int k = 0; k <= 1000; ++k) texts.Set(k, "text " + std::to_string(k));
  texts.Set(138, "");
  ApplyFormTexts(form, texts, 204);
  EXPECT_EQ(form.title, "Design title");
  for (std::size_t i = 0; i < cases.size(); ++i) {
    const FakeControl& got = form.controls[i];
    SCOPED_TRACE("index \"" + cases[i].index + "\"");
    EXPECT_EQ(got.caption, cases[i].caption);
    EXPECT_EQ(got.tip, cases[i].tip);
    EXPECT_EQ(got.list, cases[i].listAfter);
    EXPECT_EQ(got.charset, cases[i].fails == "charset" ? -1 : 204);
  }
  // Every entry is tried although the first one failed.
  EXPECT_EQ(std::count(form.controls[10].log.begin(), form.controls[10].log.end(), "entry"), 3);
  EXPECT_EQ(TextIndexPlus("800.5", 200), 1000);
  EXPECT_EQ(TextIndexPlus("801", 200), std::nullopt);
  EXPECT_EQ(TextIndexPlus("1e300", 200), std::nullopt);
}

}  // namespace
}  // namespace tarnwell::testing
