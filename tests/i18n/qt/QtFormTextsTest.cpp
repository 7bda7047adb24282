// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <QCheckBox>
#include <QComboBox>
#include <QDialog>
#include <QGroupBox>
#include <QGuiApplication>
#include <QLabel>
#include <QPixmap>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QStyleOption>
#include <cstdlib>
#include <set>
#include <utility>
#include <vector>

#include "TestFiles.h"
#include "app/qt/MainWindow.h"
#include "i18n/LanguageFile.h"
#include "i18n/TextIndex.h"
#include "i18n/qt/QtFormTexts.h"
#include "platform/qt/DesignFonts.h"
#include "qt/QtTestApplication.h"
#include "settings/qt/ChSettingsDesign.h"

static void InitIcons() { Q_INIT_RESOURCE(icons); }

namespace tarnwell::testing {
namespace {

[[maybe_unused]] const auto* const kQt = ::testing::AddGlobalTestEnvironment(new QtTestApplication);

// Odd text indices on real controls, and controls that keep their own. Text 138 is empty, halves
// round to even, one entry is no list (two are), and a picture or another window takes no text.
TEST(QtFormTexts, OddIndicesPicturesAndOtherWindows) {
  QDialog window;
  auto* list = new QComboBox(&window);
  auto* single = new QComboBox(&window);
  auto* picture = new QLabel(&window);
  auto* other = new QDialog(&window);
  list->addItems({"a", "b"}), single->addItem(QStringLiteral("only"));
  picture->setPixmap(QPixmap(8, 8));
  std::vector<std::pair<QWidget*, const char*>> controls = {
      {list, "55.5"}, {single, "57"}, {picture, "41"}, {other, "41"}};
  for (const char* index : {"abc", " 38 ", "-150", "52.5", "53.5", "800.5", "801", "1e300"})
    controls.emplace_back(new QLabel(QStringLiteral("design"), &window), index);
  for (const auto& [w, index] : controls) w->setToolTip("tip"), w->setProperty("textIndex", index);
  LangTable texts;
  for (int k = 0; k <= 1000; ++k) texts.Set(k, k == 138 ? "" : "text " + std::to_string(k));
  ApplyFormTextsTo(&window, texts);
  QStringList shown{list->itemText(0), list->itemText(1), single->itemText(0),
                    other->windowTitle() + " | " + other->toolTip()};
  for (std::size_t i = 4; i < controls.size(); ++i)
    shown << static_cast<QLabel*>(controls[i].first)->text() + " | " + controls[i].first->toolTip();
  EXPECT_EQ(shown,
            QStringList({"text 256", "text 256", "only", " | tip", "design | tip", "text 238 | ",
                         "text 50 | tip", "text 252 | text 152", "text 254 | text 154",
                         "text 1000 | text 900", "design | text 901", "design | tip"}));
  EXPECT_FALSE(picture->pixmap().isNull());
}

// The pixels a control leaves for one line of its text: the face less frame and margins, and for
// check boxes and option buttons less the indicator and its spacing, as the style lays them out.
int Room(QWidget* w) {
  QStyle* style = w->style();
  if (qobject_cast<QAbstractButton*>(w) != nullptr) {
    QStyleOptionButton opt;
    opt.initFrom(w);
    return style
        ->subElementRect(qobject_cast<QCheckBox*>(w)      ? QStyle::SE_CheckBoxContents
                         : qobject_cast<QRadioButton*>(w) ? QStyle::SE_RadioButtonContents
                                                          : QStyle::SE_PushButtonContents,
                         &opt, w)
        .width();
  }
  if (auto* list = qobject_cast<QComboBox*>(w)) {
    QStyleOptionComboBox opt;
    opt.initFrom(list);
    opt.subControls = QStyle::SC_All;
    return style->subControlRect(QStyle::CC_ComboBox, &opt, QStyle::SC_ComboBoxEditField, w)
               .width() -
           2;
  }
  if (auto* frame = qobject_cast<QGroupBox*>(w)) {
    QStyleOptionGroupBox opt;
    opt.initFrom(frame);
    opt.text = frame->title();
    opt.subControls = QStyle::SC_GroupBoxFrame | QStyle::SC_GroupBoxLabel;
    opt.textAlignment = frame->alignment();
    const QRect label =
        style->subControlRect(QStyle::CC_GroupBox, &opt, QStyle::SC_GroupBoxLabel, w);
    // The title must end where it would start on the other side.
    return frame->width() - 2 * label.left() -
           (label.width() - frame->fontMetrics().horizontalAdvance(opt.text));
  }
  auto* label = static_cast<QLabel*>(w);
  return label->contentsRect().width() - 2 * label->margin() - std::max(0, label->indent());
}

// Each shipped file, read as the program reads it, holds every text the windows and messages use
// and nothing else, and puts them on both windows where they belong and in the room they have: in
// the design's faces, which the program registers, and in DejaVu Sans, which stands in for them
// where they are not installed.
TEST(ShippedLanguages, HoldEveryUsedTextAndFitBothWindows) {
  InitIcons();
  RegisterDesignFonts();
  const std::pair<const char*, int> shipped[] = {{"en.lng", 0},   {"tr.lng", 162}, {"ru.lng", 204},
                                                 {"bg.lng", 204}, {"fr.lng", 0},   {"gr.lng", 0},
                                                 {"sp.lng", 0},   {"std.lng", 0}};
  const QFont standIn(QStringLiteral("DejaVu Sans"), 8);
  std::set<int> used(std::begin(text::kAllMessages), std::end(text::kAllMessages));
  LangTable english;
  std::string language, misfits;
  LangTable texts;
  // A text a control shows must fit; what does not is listed one line per text: language, text
  // index, control, the size it needs and its room.
  const auto check = [&](QWidget* w, int index, const QString& text) {
    const QFontMetrics metrics(w->font());
    auto* label = qobject_cast<QLabel*>(w);
    const bool wraps = label != nullptr && label->wordWrap();
    const QSize room = wraps ? label->contentsRect().size() : QSize(Room(w), w->height());
    const QSize need =
        wraps ? metrics.boundingRect(QRect(QPoint(), room), Qt::TextWordWrap, text).size()
              : QSize(metrics.horizontalAdvance(text), metrics.height());
    if (text.isEmpty() || (need.width() <= room.width() && need.height() <= room.height())) return;
    misfits += QString::asprintf("%s text %d %s \"%s\": %dx%d in %dx%d\n", language.c_str(), index,
                                 qPrintable(w->objectName()), qPrintable(text), need.width(),
                                 need.height(), room.width(), room.height())
                   .toStdString();
  };
  // The texts of a window and its controls with a text index count as used, hidden ones' too;
  // those they show must fit (what `notCaption` shows is the program's own).
  const auto checkWindow = [&](QWidget* window, const QWidget* notCaption) {
    bool titled = false;
    const int title = 200 + window->property("textIndex").toString().toInt(&titled);
    if (titled) used.insert(title);
    for (QWidget* w : window->findChildren<QWidget*>()) {
      bool ok = false;
      const int t = w->property("textIndex").toString().toInt(&ok);
      if (!ok) continue;
      used.insert(100 + t);
      const auto caption = [&](int index, const QString& text) {
        used.insert(index);
        if (w != notCaption && w->isVisibleTo(window)) check(w, index, text);
      };
      if (auto* list = qobject_cast<QComboBox*>(w)) {
        for (int i = 0; i < list->count(); ++i) caption(200 + t + i, list->itemText(i));
      } else if (auto* frame = qobject_cast<QGroupBox*>(w)) {
        caption(200 + t, frame->title());
      } else if (auto* button = qobject_cast<QAbstractButton*>(w);
                 button && button->icon().isNull()) {
        caption(200 + t, button->text());
      } else if (auto* label = qobject_cast<QLabel*>(w); label && label->pixmap().isNull()) {
        caption(200 + t, label->text());
      }
    }
  };
  for (const auto& [name, charset] : shipped) {
    // Every line must be a quoted text (a comment may follow) ended by CR LF: the reader skips
    // the first character, and a text without its closing quote would take in the comment.
    const char* bin = std::getenv("TARNWELL_BIN");
    const std::string bytes =
        ReadFile(std::string(bin != nullptr ? bin : TARNWELL_PROGRAM_DIR) + "/" + name);
    const auto lines = Split(bytes, "\r\n");
    EXPECT_TRUE(bytes.ends_with("\r\n") && lines.size() >= 200 && lines.size() <= 1001) << name;
    for (const std::string& line : lines)
      EXPECT_TRUE(line.size() >= 2 && line[0] == '"' && line.find('"', 1) != std::string::npos &&
                  line.find_first_of("\r\n") == std::string::npos)
          << name << ": " << line;
    texts = LangTable();
    ReadLanguageText(bytes, texts, SystemCodePages());
    for (const QFont* font : {static_cast<const QFont*>(nullptr), &standIn}) {
      language = name + std::string(font != nullptr ? " (DejaVu Sans)" : "");
      MainWindow main;
      QDialog dialog;
      ChSettingsDesign d;
      d.Build(&dialog, Twips{QGuiApplication::primaryScreen()->logicalDotsPerInch()});
      if (font != nullptr) main.App_Stop()->setFont(*font), dialog.setFont(*font);
      ApplyFormTextsTo(&main, texts);
      ApplyFormTextsTo(&dialog, texts);
      // Every control of the dialog lies inside its frame, clear of its border, and of the
      // others, the hidden ones too; a box or line of text is less than two lines tall, a list
      // less than three times as wide as its entries need, the window less than twice as large as
      // what it holds. (The main window's design lets the reading reach above its panel, and its
      // labels are placed by the update cycle.)
      EXPECT_TRUE(QRect(QPoint(), dialog.childrenRect().bottomRight() * 2).contains(dialog.rect()));
      for (QWidget* w : dialog.findChildren<QWidget*>()) {
        const QWidget* frame = w->parentWidget();
        if (w->window() != &dialog) continue;  // a list's drop-down
        const auto* label = qobject_cast<QLabel*>(w);
        EXPECT_TRUE(frame->rect().adjusted(1, 1, -1, -1).contains(w->geometry()) &&
                    (qobject_cast<QGroupBox*>(w) || qobject_cast<QPushButton*>(w) ||
                     (label && label->wordWrap()) || w->height() < 2 * w->fontMetrics().height()) &&
                    (!qobject_cast<QComboBox*>(w) || w->width() < 3 * w->sizeHint().width()))
            << qPrintable(w->objectName());
        for (QWidget* v : frame->findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
          EXPECT_FALSE(v < w && !v->isWindow() && v->geometry().intersects(w->geometry()))
              << qPrintable(w->objectName()) << " over " << qPrintable(v->objectName());
      }
      checkWindow(&main, main.Current());  // the reading
      checkWindow(&dialog,
                  d.Control("LabCommSet"));  // the port, or its own text when no port is set
      check(d.Control("LabCommSet"), text::kNoPort,
            QString::fromStdString(texts.Text(text::kNoPort)));
    }
    EXPECT_EQ(texts.Text(text::kCharset), std::to_string(charset)) << name;
    if (name == std::string("en.lng")) english = texts;  // the standard file holds them too
    for (int k = 0; k <= LangTable::kLast; ++k) {
      const std::string at = std::string(name) + " text " + std::to_string(k);
      const std::string& t = texts.Text(k);
      EXPECT_EQ(t.empty(), k != text::kCharset && used.count(k) == 0) << at << ": \"" << t << '"';
      EXPECT_EQ(t.find("\xEF\xBF\xBD"), std::string::npos) << at << " not decoded whole";
      EXPECT_EQ(t, (name == std::string("std.lng") ? english : texts).Text(k)) << at;
    }
  }
  EXPECT_EQ(misfits, "");
}

}  // namespace
}  // namespace tarnwell::testing
