// SPDX-License-Identifier: GPL-3.0-or-later
#include "settings/qt/ChSettings.h"

#include <QAbstractButton>
#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QEvent>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QSignalBlocker>
#include <QTimer>
#include <algorithm>

#include "settings/BesidePosition.h"

namespace tarnwell {
namespace {

QString Q(const std::string& s) { return QString::fromUtf8(s.data(), static_cast<int>(s.size())); }
std::string S(const QString& s) { return s.toUtf8().toStdString(); }

ScreenRect Plain(const QRect& r) { return {r.x(), r.y(), r.width(), r.height()}; }

const DesignControl& At(int control) {
  return SettingsDesign::Controls()[static_cast<std::size_t>(control)];
}

}  // namespace

ChSettings::ChSettings(const SettingsServices& services, ApplyTexts applyTexts, const Twips& twips,
                       const SerialDevices* devices)
    : QDialog(nullptr, Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                           Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint),
      view_(services, devices) {
  setAttribute(Qt::WA_DeleteOnClose);
  setModal(false);
  ui_.Build(this, twips);
  Connect();
  view_.Form().SetFocusHandler(
      [this](SettingsField f) { ui_.Control(TextBoxOf(f).name)->setFocus(Qt::OtherFocusReason); });
  if (applyTexts) applyTexts(this);
  view_.Form().Load();
  ShowState();
  if (devices != nullptr) {
    // An adapter plugged in or out while the dialog is open shows within a second.
    auto* poll = new QTimer(this);
    connect(poll, &QTimer::timeout, this, [this] { Show(SettingsDesign::IndexOf("LabRights")); });
    poll->start(1000);
  }
}

ChSettings* ChSettings::ShowOrRaise(QPointer<ChSettings>& slot, const SettingsServices& services,
                                    const ApplyTexts& applyTexts, const QWidget* owner,
                                    const SerialDevices* devices) {
  // A dialog closed with Esc may still wait for its deletion; it is unloaded all the same.
  if (slot && !slot->isVisible()) delete slot.data();
  if (!slot) {
    Twips twips;
    const QScreen* screen = owner ? owner->screen() : QGuiApplication::primaryScreen();
    if (screen) twips.dpi = screen->logicalDotsPerInch();
    slot = new ChSettings(services, applyTexts, twips, devices);
    if (owner && screen) {
      // The dialog's frame is not known before it is shown; the owner's is the best guess.
      const QSize size = slot->size() + owner->frameGeometry().size() - owner->geometry().size();
      const ScreenPoint at = BesidePosition(Plain(owner->frameGeometry()), size.width(),
                                            size.height(), Plain(screen->availableGeometry()));
      slot->move(at.x, at.y);
    }
  }
  slot->show();
  slot->raise();
  slot->activateWindow();
  return slot;
}

void ChSettings::Connect() {
  for (std::size_t i = 0; i < ui_.controls.size(); ++i) {
    const int c = static_cast<int>(i);
    QWidget* w = ui_.controls[i];
    const auto then = [this] { ShowState(); };
    switch (At(c).kind) {
      case ControlKind::kTextBox:
        connect(static_cast<QLineEdit*>(w), &QLineEdit::textEdited, this,
                [this, c, then](const QString& text) { view_.Typed(c, S(text)), then(); });
        break;
      case ControlKind::kCheckBox:
        connect(static_cast<QCheckBox*>(w), &QCheckBox::clicked, this,
                [this, c, then](bool ticked) { view_.Ticked(c, ticked), then(); });
        break;
      case ControlKind::kOptionButton:
        connect(static_cast<QRadioButton*>(w), &QRadioButton::clicked, this,
                [this, c, then] { view_.Chosen(c), then(); });
        break;
      case ControlKind::kDropDownList:
        connect(static_cast<QComboBox*>(w), &QComboBox::activated, this,
                [this, c, then](int position) { view_.Picked(c, position), then(); });
        break;
      case ControlKind::kButton:
      case ControlKind::kFolderButton:
        connect(static_cast<QPushButton*>(w), &QPushButton::clicked, this, [this, c, then] {
          if (view_.Pressed(c)) return void(close());
          then();
        });
        break;
      case ControlKind::kFrame:
      case ControlKind::kLabel:
        break;
    }
  }
  // A key's release goes to the focused control, which may keep it: Esc's is seen wherever it goes.
  installEventFilter(this);
  for (QWidget* w : findChildren<QWidget*>()) w->installEventFilter(this);
}

bool ChSettings::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::KeyRelease &&
      static_cast<QKeyEvent*>(event)->key() == Qt::Key_Escape &&
      !static_cast<QKeyEvent*>(event)->isAutoRepeat())
    escape_.Released(static_cast<QKeyEvent*>(event)->timestamp());
  const auto found = std::find(ui_.controls.begin(), ui_.controls.end(), watched);
  if (found == ui_.controls.end()) return QDialog::eventFilter(watched, event);
  const int c = static_cast<int>(found - ui_.controls.begin());
  if (event->type() == QEvent::MouseButtonDblClick && At(c).kind == ControlKind::kLabel) {
    view_.DoubleClicked(c);
    return true;
  }
  if (event->type() == QEvent::ToolTip) {
    // Made when asked for, so it tells what is there now.
    if (const std::optional<std::string> tip = view_.LiveToolTip(c)) (*found)->setToolTip(Q(*tip));
  }
  return QDialog::eventFilter(watched, event);
}

void ChSettings::keyPressEvent(QKeyEvent* event) {
  if (event->matches(QKeySequence::Cancel) &&
      !escape_.Pressed(event->isAutoRepeat(), event->timestamp()))
    return event->accept();
  QDialog::keyPressEvent(event);
}

void ChSettings::ShowState() {
  for (std::size_t i = 0; i < ui_.controls.size(); ++i) Show(static_cast<int>(i));
}

void ChSettings::Show(int control) {
  if (control < 0 || static_cast<std::size_t>(control) >= ui_.controls.size()) return;
  const DesignControl& d = At(control);
  QWidget* w = ui_.controls[static_cast<std::size_t>(control)];
  const ControlState s = view_.State(control);
  // What is shown here is the form's own: it need not come back as changes.
  const QSignalBlocker block(w);
  if (auto* edit = qobject_cast<QLineEdit*>(w); edit && s.text) {
    // Rewriting an unchanged text would move the cursor while the operator types.
    if (edit->text() != Q(*s.text)) edit->setText(Q(*s.text));
  } else if (auto* label = qobject_cast<QLabel*>(w); label && s.text) {
    const QString line = Q(*s.text);
    const QString shown = d.elided ? label->fontMetrics().elidedText(line, Qt::ElideMiddle,
                                                                     label->contentsRect().width())
                                   : line;
    if (label->text() != shown) label->setText(shown);
    if (d.elided) label->setToolTip(shown == line ? QString() : line);
  }
  if (auto* button = qobject_cast<QAbstractButton*>(w); button && s.chosen) {
    QButtonGroup* group = button->group();
    // An exclusive group cannot have its checked button unchecked directly.
    if (group && !*s.chosen && button->isChecked()) group->setExclusive(false);
    button->setChecked(*s.chosen);
    if (group) group->setExclusive(true);
  }
  if (auto* list = qobject_cast<QComboBox*>(w); list && s.position) {
    list->setCurrentIndex(*s.position);  // a position the list does not hold shows none
  }
  w->setEnabled(s.enabled);
}

}  // namespace tarnwell
