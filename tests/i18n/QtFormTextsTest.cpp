// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDialog>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPixmap>
#include <QPushButton>
#include <QRadioButton>
#include <set>
#include <tuple>

#include "QtTestApplication.h"
#include "ShippedTexts.h"
#include "app/qt/MainWindow.h"
#include "i18n/FormTexts.h"
#include "i18n/TextIndex.h"
#include "platform/qt/QtFormTexts.h"
#include "settings/qt/ChSettingsDesign.h"

static void InitIcons() { Q_INIT_RESOURCE(icons); }

namespace tarnwell::testing {
namespace {

class QtFormTexts : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { InitIcons(); }
};
[[maybe_unused]] const auto* const kQt = ::testing::AddGlobalTestEnvironment(new QtTestApplication);

LangTable Numbered() {
  LangTable texts;
  for (int k = 0; k <= 1000; ++k) texts.Set(k, "text " + std::to_string(k));
  return texts;
}

template <typename W>
W* Make(QWidget* parent, const char* name, const char* textIndex, const char* text = "design") {
  auto* w = new W(parent);
  w->setObjectName(QString::fromLatin1(name));
  if (textIndex != nullptr) w->setProperty("textIndex", QString::fromLatin1(textIndex));
  if constexpr (std::is_same_v<W, QGroupBox>) {
    w->setTitle(QString::fromLatin1(text));
  } else if constexpr (!std::is_same_v<W, QComboBox>) {
    w->setText(QString::fromLatin1(text));
  }
  w->setToolTip(QStringLiteral("design tip"));
  return w;
}

auto Key(const ControlTextIndex& c) {
  return std::tie(c.name, c.textIndex, c.isWindow, c.caption, c.listEntries);
}

TEST_F(QtFormTexts, ControlsTakeTheirTextsByIndex) {
  QDialog window;
  window.setProperty("textIndex", QStringLiteral("7"));
  window.setWindowTitle(QStringLiteral("Channel Settings"));
  auto* current = Make<QLabel>(&window, "Current", "52", "123456.7");
  auto* langSel = Make<QComboBox>(&window, "LangSel", "56");
  langSel->addItems({"English", "Turkce", "----"});
  auto* single = Make<QComboBox>(&window, "Single", "56");
  single->addItem(QStringLiteral("only"));
  auto* untagged = Make<QLabel>(&window, "Untagged", nullptr, "Durdur");
  auto* high = Make<QLabel>(&window, "High", "900");
  auto* frame = Make<QGroupBox>(&window, "Frame1", "4");
  auto* inFrame = Make<QCheckBox>(frame, "App_Stop", "38");
  auto* edit = Make<QLineEdit>(frame, "TxtJump", "41", "0");
  auto* picture = Make<QLabel>(&window, "Picture", "55");
  picture->setPixmap(QPixmap(8, 8));
  auto* button = Make<QPushButton>(&window, "TheSetup", "81", "");
  button->setIcon(QIcon(QPixmap(8, 8)));
  auto* other = new QDialog(&window);  // another window, not a control of this one
  other->setProperty("textIndex", QStringLiteral("4"));
  other->setWindowTitle(QStringLiteral("other"));

  ApplyFormTextsTo(&window, Numbered(), 204);

  EXPECT_EQ(window.windowTitle(), "text 207");
  EXPECT_EQ(current->text(), "text 252");
  EXPECT_EQ(current->toolTip(), "text 152");
  ASSERT_EQ(langSel->count(), 3);
  EXPECT_EQ(langSel->itemText(2), "text 258");
  EXPECT_EQ(single->itemText(0), "only");
  EXPECT_EQ(untagged->text(), "Durdur");
  EXPECT_EQ(untagged->toolTip(), "design tip");
  EXPECT_EQ(high->toolTip(), "text 1000");
  EXPECT_EQ(frame->title(), "text 204");
  EXPECT_EQ(inFrame->text(), "text 238");
  EXPECT_EQ(edit->text(), "0");
  EXPECT_FALSE(picture->pixmap().isNull());
  EXPECT_EQ(button->text(), "text 281");
  EXPECT_EQ(other->windowTitle(), "other");

  const std::vector<ControlTextIndex> found = CollectTextIndices(&window);
  const std::vector<ControlTextIndex> expected = {
      {"", "7", true, true, 0},           {"Current", "52", false, true, 0},
      {"LangSel", "56", false, false, 3}, {"Single", "56", false, false, 1},
      {"High", "900", false, true, 0},    {"Frame1", "4", false, true, 0},
      {"App_Stop", "38", false, true, 0}, {"TxtJump", "41", false, false, 0},
      {"Picture", "55", false, false, 0}, {"TheSetup", "81", false, false, 0}};
  ASSERT_EQ(found.size(), expected.size());
  for (std::size_t i = 0; i < found.size(); ++i) EXPECT_EQ(Key(found[i]), Key(expected[i])) << i;
}

// The texts the windows as built take, and the messages the code shows: each shipped file holds
// every one of them and nothing else.
TEST_F(QtFormTexts, ShippedFilesHoldEveryUsedTextAndNothingElse) {
  MainWindow mainWindow;
  QDialog dialog;
  ChSettingsDesign design;
  design.Build(&dialog, Twips{});
  std::set<int> used(std::begin(text::kAllMessages), std::end(text::kAllMessages));
  for (QWidget* window : {static_cast<QWidget*>(&mainWindow), static_cast<QWidget*>(&dialog)}) {
    for (const ControlTextIndex& c : CollectTextIndices(window)) {
      const auto add = [&](int offset) {
        if (const auto index = TextIndexPlus(c.textIndex, offset)) used.insert(*index);
      };
      add(c.isWindow ? 200 : 100);
      if (c.caption && !c.isWindow) add(200);
      for (int i = 0; c.listEntries >= 2 && i < c.listEntries; ++i) add(200 + i);
    }
  }
  for (const Shipped& file : kShipped) {
    const LangTable texts = ShippedTexts(file.name);
    for (int k = 0; k <= LangTable::kLast; ++k) {
      if (k == text::kCharset) continue;
      EXPECT_EQ(texts.Text(k).empty(), used.count(k) == 0)
          << file.name << " text " << k << ": \"" << texts.Text(k) << '"';
    }
  }
}

TEST_F(QtFormTexts, TurkishAndRussianOnTheRealWindows) {
  QDialog dialog;
  ChSettingsDesign d;
  d.Build(&dialog, Twips{});
  ApplyFormTextsTo(&dialog, ShippedTexts("tr.lng"), 162);
  EXPECT_EQ(dialog.windowTitle(), QString::fromUtf8("Kanal Ayarları"));
  EXPECT_EQ(d.LogSet[3]->text(), QString::fromUtf8("Kararlılık Süre"));
  EXPECT_EQ(d.LangSel->itemText(0), QString::fromUtf8("İngilizce"));
  ApplyFormTextsTo(&dialog, ShippedTexts("ru.lng"), 204);
  EXPECT_EQ(d.Cancel->text(), QString::fromUtf8("Выход"));
  EXPECT_EQ(d.TxtJump->toolTip().left(8), QString::fromUtf8("Значение"));

  MainWindow window;
  const QString caption = window.windowTitle();
  ApplyFormTextsTo(&window, ShippedTexts("en.lng"), 0);
  EXPECT_EQ(window.windowTitle(), caption);
  EXPECT_EQ(window.App_Stop()->text(), "Stop");
  EXPECT_EQ(window.TheSetup()->text(), "");
  EXPECT_FALSE(window.TheSetup()->icon().isNull());
  EXPECT_EQ(window.Current()->toolTip(), "Current measured value");
}

}  // namespace
}  // namespace tarnwell::testing
