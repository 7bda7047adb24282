// SPDX-License-Identifier: GPL-3.0-or-later
#include "settings/qt/ChSettings.h"

#include <QAbstractButton>
#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QEvent>
#include <QGroupBox>
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

#include "settings/PortDevice.h"

namespace tarnwell {
namespace {

QString Q(const std::string& s) { return QString::fromUtf8(s.data(), static_cast<int>(s.size())); }
std::string S(const QString& s) { return s.toUtf8().toStdString(); }

void ShowTick(QCheckBox* box, bool ticked) {
  const QSignalBlocker block(box);
  box->setChecked(ticked);
}

void ShowChoice(QButtonGroup* group, int id) {
  const QSignalBlocker block(group);
  if (QAbstractButton* b = group->button(id)) {
    b->setChecked(true);
    return;
  }
  // An exclusive group cannot have its checked button unchecked directly.
  group->setExclusive(false);
  for (QAbstractButton* b : group->buttons()) b->setChecked(false);
  group->setExclusive(true);
}

void ShowPosition(QComboBox* list, int position) {
  const QSignalBlocker block(list);
  list->setCurrentIndex(position);  // a position the list does not hold shows none
}

}  // namespace

ChSettings::ChSettings(const SettingsServices& services, ApplyTexts applyTexts, const Twips& twips,
                       const SerialDevices* devices)
    : QDialog(nullptr, Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                           Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint),
      form_(services),
      devices_(devices),
      regional_(services.regional) {
  setAttribute(Qt::WA_DeleteOnClose);
  setModal(false);
  ui_.Build(this, twips);
  Connect();
  form_.SetFocusHandler([this](SettingsField f) { Edit(f)->setFocus(Qt::OtherFocusReason); });
  if (applyTexts) applyTexts(this);
  form_.Load();
  ShowState();
  if (devices_ != nullptr) {
    // An adapter plugged in or out while the dialog is open shows within a second.
    auto* poll = new QTimer(this);
    connect(poll, &QTimer::timeout, this, &ChSettings::ShowDevice);
    poll->start(1000);
    ui_.CommSel->setToolTip(Q(PortDeviceList(*devices_)));
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
      const QSize frame = owner->frameGeometry().size() - owner->geometry().size();
      slot->move(BesidePosition(owner->frameGeometry(), slot->size() + frame,
                                screen->availableGeometry()));
    }
  }
  slot->show();
  slot->raise();
  slot->activateWindow();
  return slot;
}

QPoint ChSettings::BesidePosition(const QRect& owner, const QSize& size, const QRect& screen) {
  const int top = std::clamp(owner.top(), screen.top(),
                             std::max(screen.top(), screen.bottom() + 1 - size.height()));
  if (owner.right() + 1 + size.width() <= screen.right() + 1) return {owner.right() + 1, top};
  if (owner.left() - size.width() >= screen.left()) return {owner.left() - size.width(), top};
  // No room on either side: against the screen edge on the side that hides less of the owner.
  const QPoint atRight(std::max(screen.left(), screen.right() + 1 - size.width()), top);
  const QPoint atLeft(screen.left(), top);
  const auto covered = [&](QPoint p) {
    const QRect c = owner.intersected(QRect(p, size));
    return c.isEmpty() ? 0LL : static_cast<long long>(c.width()) * c.height();
  };
  return covered(atLeft) < covered(atRight) ? atLeft : atRight;
}

QLineEdit* ChSettings::Edit(SettingsField field) const {
  return findChild<QLineEdit*>(QLatin1String(TextBoxOf(field).name));
}

void ChSettings::Connect() {
  for (std::size_t i = 0; i < kTextBoxes.size(); ++i) {
    const auto f = static_cast<SettingsField>(i);
    connect(Edit(f), &QLineEdit::textEdited, this, [this, f](const QString& text) {
      form_.SetText(f, S(text));
      ShowState();
    });
  }
  const auto after = [this](auto change) {
    return [this, change](auto value) {
      change(value);
      ShowState();
    };
  };
  connect(ui_.BaudSel, &QComboBox::activated, this, after([this](int i) { form_.SetBaudSel(i); }));
  connect(ui_.LangSel, &QComboBox::activated, this, after([this](int i) { form_.SetLangSel(i); }));
  connect(ui_.Expanded, &QCheckBox::clicked, this,
          after([this](bool on) { form_.SetExpanded(on); }));
  connect(ui_.GrMode, &QCheckBox::clicked, this, after([this](bool on) { form_.SetGrMode(on); }));
  connect(ui_.MouseEvent, &QCheckBox::clicked, this,
          after([this](bool on) { form_.SetMouseEvent(on); }));
  connect(ui_.SelDatLogEnab, &QCheckBox::clicked, this,
          after([this](bool on) { form_.SetSelDatLogEnab(on); }));
  connect(ui_.RecordOnStartup, &QCheckBox::clicked, this,
          after([this](bool on) { form_.SetRecordOnStartup(on); }));
  connect(ui_.LogIncSel, &QCheckBox::clicked, this,
          after([this](bool on) { form_.SetLogIncSel(on); }));
  connect(ui_.OptPfGroup, &QButtonGroup::idClicked, this,
          after([this](int i) { form_.SetOptPf(i); }));
  connect(ui_.LogSetGroup, &QButtonGroup::idClicked, this,
          after([this](int i) { form_.SetLogSet(i); }));
  connect(ui_.LogTypeSelGroup, &QButtonGroup::idClicked, this,
          after([this](int i) { form_.SetLogTypeSel(i); }));
  connect(ui_.OpenFolder, &QPushButton::clicked, this, [this] { form_.OpenRecordFolder(); });
  connect(ui_.Apply, &QPushButton::clicked, this, [this] {
    form_.Apply();
    ShowState();
  });
  connect(ui_.Defaults, &QPushButton::clicked, this, [this] {
    form_.ApplyDefaults();
    ShowState();
  });
  connect(ui_.Cancel, &QPushButton::clicked, this, &QDialog::close);
  // A key's release goes to the focused control, which may keep it: Esc's is seen wherever it goes.
  installEventFilter(this);
  for (QWidget* w : findChildren<QWidget*>()) w->installEventFilter(this);
}

bool ChSettings::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::KeyRelease &&
      static_cast<QKeyEvent*>(event)->key() == Qt::Key_Escape)
    escReleasedAt_ = static_cast<QKeyEvent*>(event)->timestamp();
  if (watched == ui_.ContinuousSendHint && event->type() == QEvent::MouseButtonDblClick) {
    form_.ToggleAdvancedMode();
    return true;
  }
  if (watched == ui_.CommSel && event->type() == QEvent::ToolTip && devices_ != nullptr) {
    // Listed when asked for, so it shows the devices present now.
    ui_.CommSel->setToolTip(Q(PortDeviceList(*devices_)));
  }
  return QDialog::eventFilter(watched, event);
}

// A held key repeats as a release and a press at one time. Only Esc's first press closes: a key
// still held from closing the last dialog (or one a tool pressed and never released) would
// otherwise close every dialog the cog opens, at once.
void ChSettings::keyPressEvent(QKeyEvent* event) {
  const bool repeat = event->isAutoRepeat() || escReleasedAt_ == event->timestamp();
  if (event->matches(QKeySequence::Cancel) && repeat) return event->accept();
  QDialog::keyPressEvent(event);
}

void ChSettings::ShowState() {
  const SettingsControls& c = form_.Controls();
  const SettingsControls::Enabled& e = c.enabled;
  for (std::size_t i = 0; i < kTextBoxes.size(); ++i) {
    QLineEdit* edit = Edit(static_cast<SettingsField>(i));
    // The texts shown here are the form's own; they need not come back as changes.
    const QSignalBlocker block(edit);
    const QString text = Q(c.*kTextBoxes[i].text);
    // Rewriting an unchanged text would move the cursor while the operator types.
    if (edit->text() != text) edit->setText(text);
    edit->setEnabled(e.*kTextBoxes[i].enabled);
  }
  ShowPosition(ui_.BaudSel, c.BaudSel);
  ShowPosition(ui_.DevType, c.DevType);
  ShowPosition(ui_.LangSel, c.LangSel);
  ui_.LabCommSet->setText(Q(c.LabCommSet));
  ShowDevice();

  ShowTick(ui_.GrMode, c.GrMode);
  ShowTick(ui_.MouseEvent, c.MouseEvent);
  ShowTick(ui_.Expanded, c.Expanded);
  ShowTick(ui_.SelDatLogEnab, c.SelDatLogEnab);
  ShowTick(ui_.RecordOnStartup, c.RecordOnStartup);
  ShowTick(ui_.LogIncSel, c.LogIncSel);
  ShowChoice(ui_.OptPfGroup, c.OptPf);
  ShowChoice(ui_.LogSetGroup, c.LogSet);
  ShowChoice(ui_.LogTypeSelGroup, c.LogTypeSel);

  ui_.LabMin->setEnabled(e.LabMin);
  ui_.LabMax->setEnabled(e.LabMax);
  for (int i = 0; i < 4; ++i) ui_.LogSet[i]->setEnabled(e.LogSet[i]);
  for (int i = 0; i < 2; ++i) ui_.LogTypeSel[i]->setEnabled(e.LogTypeSel[i]);
  ui_.LogIncSel->setEnabled(e.LogIncSel);
  ui_.FrameFile->setEnabled(e.FrameFile);
  ui_.LabStabTime->setEnabled(e.LabStabTime);
  ui_.LabJump->setEnabled(e.LabJump);
  ui_.LabThreshold->setEnabled(e.LabThreshold);
}

void ChSettings::ShowDevice() {
  if (devices_ == nullptr) return;
  const QString line = Q(PortDeviceLine(form_.Controls().CommSel, regional_, *devices_));
  // A long link target or product name is cut with an ellipsis; the whole line is its tool tip.
  const QString shown = ui_.LabRights->fontMetrics().elidedText(
      line, Qt::ElideMiddle, ui_.LabRights->contentsRect().width());
  if (ui_.LabRights->text() != shown) ui_.LabRights->setText(shown);
  ui_.LabRights->setToolTip(shown == line ? QString() : line);
}

}  // namespace tarnwell
