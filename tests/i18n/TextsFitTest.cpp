// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <QCheckBox>
#include <QComboBox>
#include <QDialog>
#include <QGroupBox>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QStyle>
#include <QStyleOption>

#include "ShippedTexts.h"
#include "app/qt/MainWindow.h"
#include "i18n/TextIndex.h"
#include "platform/qt/QtFormTexts.h"
#include "settings/qt/ChSettingsDesign.h"

static void InitIcons() { Q_INIT_RESOURCE(icons); }

namespace tarnwell::testing {
namespace {

// The application is made by the other window tests of this program.

int Width(const QWidget* w, const QString& text) {
  return QFontMetrics(w->font()).horizontalAdvance(text);
}

// The pixels a control leaves for one line of its text: the face less frame and margins, and for
// check boxes and option buttons less the indicator and its spacing, as the style lays them out.
int Room(QWidget* w) {
  QStyle* style = w->style();
  if (qobject_cast<QAbstractButton*>(w) != nullptr) {
    QStyleOptionButton opt;
    opt.initFrom(w);
    const QStyle::SubElement face = qobject_cast<QCheckBox*>(w) ? QStyle::SE_CheckBoxContents
                                    : qobject_cast<QRadioButton*>(w)
                                        ? QStyle::SE_RadioButtonContents
                                        : QStyle::SE_PushButtonContents;
    return style->subElementRect(face, &opt, w).width();
  }
  if (auto* list = qobject_cast<QComboBox*>(w)) {
    QStyleOptionComboBox opt;
    opt.initFrom(list);
    opt.subControls = QStyle::SC_All;
    return style->subControlRect(QStyle::CC_ComboBox, &opt, QStyle::SC_ComboBoxEditField, w)
               .width() -
           2;
  }
  if (auto* edit = qobject_cast<QLineEdit*>(w)) {
    QStyleOptionFrame opt;
    opt.initFrom(edit);
    opt.lineWidth = style->pixelMetric(QStyle::PM_DefaultFrameWidth, &opt, w);
    // The box keeps two pixels clear on either side of its text.
    return style->subElementRect(QStyle::SE_LineEditContents, &opt, w).width() - 4;
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
    return frame->width() - 2 * label.left() - (label.width() - Width(frame, opt.text));
  }
  auto* label = static_cast<QLabel*>(w);
  return label->contentsRect().width() - 2 * label->margin() - std::max(0, label->indent());
}

// What does not fit, one line per text: language, text index, control, sizes.
struct Misfits {
  void Check(QWidget* w, int index, const QString& text) {
    const QFontMetrics metrics(w->font());
    const auto* label = qobject_cast<QLabel*>(w);
    QString sizes;
    if (text.isEmpty()) return;
    if (label != nullptr && label->wordWrap()) {
      const QRect room = label->contentsRect();
      const QRect need = metrics.boundingRect(room, Qt::TextWordWrap, text);
      if (need.width() > room.width() || need.height() > room.height()) {
        sizes = QStringLiteral("%1x%2 in %3x%4")
                    .arg(need.width())
                    .arg(need.height())
                    .arg(room.width())
                    .arg(room.height());
      }
    } else if (Width(w, text) > Room(w) || metrics.height() > w->height()) {
      sizes = QStringLiteral("%1 px in %2, %3 high in %4")
                  .arg(Width(w, text))
                  .arg(Room(w))
                  .arg(metrics.height())
                  .arg(w->height());
    }
    if (sizes.isEmpty()) return;
    found += language + " text " + (index < 0 ? std::string("-") : std::to_string(index)) + " " +
             w->objectName().toStdString() + " \"" + text.toStdString() +
             "\": " + sizes.toStdString() + "\n";
  }
  std::string language, found;
};

// Every control of a window that shows a language text, measured as it shows it.
void CheckWindow(QWidget* window, Misfits& misfits) {
  for (QWidget* w : window->findChildren<QWidget*>()) {
    bool ok = false;
    const int t = w->property("textIndex").toString().toInt(&ok);
    if (!ok || !w->isVisibleTo(window)) continue;
    if (auto* list = qobject_cast<QComboBox*>(w)) {
      for (int i = 0; i < list->count(); ++i) misfits.Check(w, 200 + t + i, list->itemText(i));
    } else if (auto* frame = qobject_cast<QGroupBox*>(w)) {
      misfits.Check(w, 200 + t, frame->title());
    } else if (auto* button = qobject_cast<QAbstractButton*>(w)) {
      misfits.Check(w, 200 + t, button->text());
    } else if (auto* label = qobject_cast<QLabel*>(w); label && label->pixmap().isNull()) {
      misfits.Check(w, 200 + t, label->text());
    }
  }
}

void CheckMainWindow(const LangTable& texts, int charset, const QFont* font, Misfits& misfits) {
  MainWindow window;
  if (font != nullptr) window.App_Stop()->setFont(*font);
  ApplyFormTextsTo(&window, texts, charset);
  // The program shows the reading here at once; the label's text is no caption.
  window.Current()->setProperty("textIndex", QVariant());
  CheckWindow(&window, misfits);
}

void CheckSettings(const LangTable& texts, int charset, const QFont* font, Misfits& misfits) {
  Twips twips;
  twips.dpi = QGuiApplication::primaryScreen()->logicalDotsPerInch();
  QDialog dialog;
  ChSettingsDesign d;
  d.Build(&dialog, twips);
  if (font != nullptr) dialog.setFont(*font);
  ApplyFormTextsTo(&dialog, texts, charset);
  // The port line shows the port, or its own text when no port is set.
  d.LabCommSet->setProperty("textIndex", QVariant());
  CheckWindow(&dialog, misfits);
  misfits.Check(d.LabCommSet, text::kNoPort, QString::fromStdString(texts.Text(text::kNoPort)));
  misfits.Check(d.LabCommSet, -1, QStringLiteral("Comm99, 115200,8b,n,1s"));
  // The widest values the boxes take by default or in common use.
  for (QLineEdit* box : {d.TxtMin, d.TxtMax, d.TxtJump, d.TxtThreshold}) {
    misfits.Check(box, -1, QStringLiteral("-100000"));
  }
  for (QLineEdit* box : {d.NofSamples, d.TxtSecond, d.TxtMinute, d.TxtMotionTmr}) {
    misfits.Check(box, -1, QStringLiteral("9999"));
  }
  misfits.Check(d.CommSel, -1, QStringLiteral("99"));
}

// Each shipped language on both windows, in the fonts the windows ask for and in DejaVu Sans,
// which stands in for them where no font of their widths is installed.
TEST(TextsFit, EveryShippedLanguageFitsBothWindows) {
  InitIcons();
  QFont standIn(QStringLiteral("DejaVu Sans"));
  standIn.setPointSize(8);
  const QFont* const fonts[] = {nullptr, &standIn};
  Misfits misfits;
  for (const Shipped& file : kShipped) {
    const LangTable texts = ShippedTexts(file.name);
    for (const auto check : {CheckMainWindow, CheckSettings}) {
      for (const QFont* font : fonts) {
        misfits.language = std::string(file.name) + (font ? " (DejaVu Sans)" : "");
        check(texts, file.charset, font, misfits);
      }
    }
  }
  EXPECT_EQ(misfits.found, "");
}

}  // namespace
}  // namespace tarnwell::testing
