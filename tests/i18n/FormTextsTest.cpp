// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <algorithm>
#include <stdexcept>
#include <string>
#include <vector>

#include "i18n/FormTexts.h"

namespace tarnwell::testing {
namespace {

// A control that writes down what it was given; `fails` names the steps that throw.
struct FakeControl : TextControl {
  FakeControl(std::vector<std::string>* log, std::string name, std::string index)
      : log_(log), name_(std::move(name)), index(std::move(index)) {}

  std::string TextIndex() const override { return index; }
  void SetFontCharset(int c) override {
    log_->push_back(name_ + " charset");
    Fail("charset");
    charset = c;
  }
  int ListCount() const override { return static_cast<int>(list.size()); }
  void SetListEntry(int i, const std::string& text) override {
    log_->push_back(name_ + " entry " + std::to_string(i));
    Fail("entry");
    list[static_cast<std::size_t>(i)] = text;
  }
  void SetCaption(const std::string& text) override {
    log_->push_back(name_ + " caption");
    Fail("caption");
    caption = text;
  }
  void SetToolTip(const std::string& text) override {
    log_->push_back(name_ + " tip");
    Fail("tip");
    tip = text;
  }
  void Fail(const std::string& step) const {
    if (fails.find(step) != std::string::npos) throw std::runtime_error(step);
  }

  std::vector<std::string>* log_;
  std::string name_;
  std::string index;
  std::string caption = "design", tip = "design tip", fails;
  std::vector<std::string> list;
  int charset = -1;
};

struct FakeForm : TextForm {
  std::string TextIndex() const override { return index; }
  void SetTitle(const std::string& text) override { title = text; }
  int ControlCount() const override { return static_cast<int>(controls.size()); }
  TextControl& Control(int i) override { return controls[static_cast<std::size_t>(i)]; }

  FakeControl& Add(std::string name, std::string textIndex) {
    controls.emplace_back(&log, std::move(name), std::move(textIndex));
    return controls.back();
  }

  std::string index, title = "Design title";
  std::vector<std::string> log;
  std::vector<FakeControl> controls;
};

LangTable Numbered() {
  LangTable texts;
  for (int k = 0; k <= 1000; ++k) texts.Set(k, "text " + std::to_string(k));
  return texts;
}

// The common cases run on a real window in the Qt adapter's test; these are the odd indices.
TEST(FormTexts, IndicesThatAreNotPlainNumbers) {
  FakeForm form;
  form.controls.reserve(4);
  FakeControl& word = form.Add("Word", "abc");
  FakeControl& spaced = form.Add("Spaced", " 38 ");
  FakeControl& negative = form.Add("Negative", "-150");
  FakeControl& empty = form.Add("Empty", "");
  LangTable texts = Numbered();
  texts.Set(138, "");
  ApplyFormTexts(form, texts, 204);
  EXPECT_EQ(word.caption, "design");
  EXPECT_EQ(word.tip, "design tip");
  EXPECT_EQ(spaced.caption, "text 238");
  EXPECT_EQ(spaced.tip, "");  // an empty text gives an empty tip
  EXPECT_EQ(negative.caption, "text 50");
  EXPECT_EQ(negative.tip, "design tip");
  EXPECT_EQ(empty.caption, "design");
  for (const FakeControl& c : form.controls) EXPECT_EQ(c.charset, 204) << c.name_;
  EXPECT_EQ(form.title, "Design title");
}

TEST(FormTexts, IndexIsRoundedHalvesToEven) {
  FakeForm form;
  form.controls.reserve(3);
  FakeControl& down = form.Add("Down", "52.5");  // 252.5 and 152.5
  FakeControl& up = form.Add("Up", "53.5");      // 253.5 and 153.5
  FakeControl& list = form.Add("List", "55.5");  // 255.5, 256.5, 257.5
  list.list = {"a", "b", "c"};
  ApplyFormTexts(form, Numbered(), 0);
  EXPECT_EQ(down.tip, "text 152");
  EXPECT_EQ(up.caption, "text 254");
  EXPECT_EQ(list.list, (std::vector<std::string>{"text 256", "text 256", "text 258"}));
  EXPECT_EQ(TextIndexPlus("800.5", 200), 1000);
  EXPECT_EQ(TextIndexPlus("801", 200), std::nullopt);
  EXPECT_EQ(TextIndexPlus("1e300", 200), std::nullopt);
}

TEST(FormTexts, FailingStepCostsOnlyThatText) {
  FakeForm form;
  form.controls.reserve(3);
  FakeControl& noCaption = form.Add("NoCaption", "52");
  noCaption.fails = "caption";
  FakeControl& noFont = form.Add("NoFont", "38");
  noFont.fails = "charset";
  FakeControl& badList = form.Add("BadList", "56");
  badList.list = {"a", "b", "c"};
  badList.fails = "entry tip";
  ApplyFormTexts(form, Numbered(), 162);
  EXPECT_EQ(noCaption.caption, "design");
  EXPECT_EQ(noCaption.tip, "text 152");
  EXPECT_EQ(noFont.tip, "text 138");
  EXPECT_EQ(badList.list, (std::vector<std::string>{"a", "b", "c"}));
  EXPECT_EQ(badList.caption, "text 256");
  EXPECT_EQ(badList.charset, 162);
  // Every entry was tried although the first one failed.
  EXPECT_EQ(std::count(form.log.begin(), form.log.end(), "BadList entry 2"), 1);
}

}  // namespace
}  // namespace tarnwell::testing
