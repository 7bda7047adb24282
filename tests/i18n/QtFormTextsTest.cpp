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

template <typename W>
W* Make(QWidget* parent, const char* textIndex) {
  auto* w = new W(parent);
  w->setProperty("textIndex", QString::fromLatin1(textIndex));
  return w;
}

// What each kind of widget takes; which text goes where is FormTexts' own test.
TEST_F(QtFormTexts, EachKindOfWidgetTakesWhatItShows) {
  QDialog window;
  window.setProperty("textIndex", QStringLiteral("7"));
  auto* label = Make<QLabel>(&window, "52");
  auto* frame = Make<QGroupBox>(&window, "4");
  auto* inFrame = Make<QCheckBox>(frame, "38");
  auto* edit = Make<QLineEdit>(frame, "41");
  auto* list = Make<QComboBox>(frame, "56");
  list->addItems({"English", "Turkce"});
  auto* picture = Make<QLabel>(&window, "55");
  picture->setPixmap(QPixmap(8, 8));
  auto* other = new QDialog(&window);  // another window, not a control of this one
  other->setProperty("textIndex", QStringLiteral("4"));
  other->setWindowTitle(QStringLiteral("other"));

  LangTable texts;
  for (int k = 0; k <= 1000; ++k) texts.Set(k, "text " + std::to_string(k));
  ApplyFormTextsTo(&window, texts, 204);
  const QStringList got = {window.windowTitle(), label->text(),       label->toolTip(),
                           frame->title(),       inFrame->text(),     edit->text(),
                           list->itemText(1),    other->windowTitle()};
  EXPECT_EQ(got, QStringList({"text 207", "text 252", "text 152", "text 204", "text 238", "",
                              "text 257", "other"}));
  EXPECT_FALSE(picture->pixmap().isNull());
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
  const LangTable english = ShippedTexts("en.lng");
  for (const Shipped& file : kShipped) {
    const LangTable texts = ShippedTexts(file.name);
    EXPECT_EQ(texts.Text(text::kCharset), std::to_string(file.charset)) << file.name;
    for (int k = 0; k <= LangTable::kLast; ++k) {
      const std::string at = std::string(file.name) + " text " + std::to_string(k);
      const std::string& t = texts.Text(k);
      EXPECT_EQ(t.empty(), k != text::kCharset && used.count(k) == 0) << at << ": \"" << t << '"';
      EXPECT_EQ(t.find("\xEF\xBF\xBD"), std::string::npos) << at << " not decoded whole";
      if (file.language == 255) {
        EXPECT_EQ(t, english.Text(k)) << at;  // the standard file holds the English texts
      }
    }
  }
}

TEST_F(QtFormTexts, TurkishRussianAndGermanOnTheRealWindows) {
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
  ApplyFormTextsTo(&dialog, ShippedTexts("gr.lng"), 0);
  EXPECT_EQ(d.Apply->text(), QString::fromUtf8("Übernehmen"));

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
