// SPDX-License-Identifier: GPL-3.0-or-later
#include "settings/qt/ChSettingsDesign.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QDialog>
#include <QFontDatabase>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QStyle>

#include "settings/SettingsDesign.h"

namespace tarnwell {
namespace {

QString Q(const std::string& utf8) { return QString::fromStdString(utf8); }

// Where the family is not installed, the font system's stand-in for Arial keeps the design's
// text widths closer than the default font would.
QFont DesignFont(const std::string& family) {
  QFont font;
  const QString name = Q(family);
  font.setFamily(QFontDatabase::families().contains(name) ? name : QStringLiteral("Arial"));
  font.setPointSize(SettingsDesign::kFontPoints);
  return font;
}

QWidget* Make(const DesignControl& c, QWidget* parent) {
  switch (c.kind) {
    case ControlKind::kFrame: {
      auto* frame = new QGroupBox(parent);
      frame->setTitle(Q(c.caption));
      return frame;
    }
    case ControlKind::kLabel: {
      auto* label = new QLabel(Q(c.caption), parent);
      label->setWordWrap(c.wordWrap);
      return label;
    }
    case ControlKind::kTextBox:
      return new QLineEdit(Q(c.caption), parent);
    case ControlKind::kCheckBox:
      return new QCheckBox(Q(c.caption), parent);
    case ControlKind::kOptionButton:
      return new QRadioButton(Q(c.caption), parent);
    case ControlKind::kDropDownList: {
      auto* list = new QComboBox(parent);
      for (const std::string& e : c.entries) list->addItem(Q(e));
      return list;
    }
    case ControlKind::kButton:
    case ControlKind::kFolderButton: {
      auto* button = new QPushButton(Q(c.caption), parent);
      if (c.kind == ControlKind::kFolderButton)
        button->setIcon(parent->style()->standardIcon(QStyle::SP_DirOpenIcon));
      // Enter has no meaning in this dialog: no button is the default.
      button->setAutoDefault(false);
      button->setDefault(false);
      return button;
    }
  }
  return new QWidget(parent);
}

}  // namespace

void ChSettingsDesign::Build(QDialog* dialog, const Twips& twips) {
  const auto px = [&twips](double t) { return static_cast<int>(twips.ToPixels(t) + 0.5); };
  dialog->setObjectName(QString::fromLatin1(SettingsDesign::kName));
  dialog->setProperty("textIndex", QString::number(SettingsDesign::kTextIndex));
  dialog->setWindowTitle(QString::fromLatin1(SettingsDesign::kTitle));
  dialog->setFixedSize(px(SettingsDesign::kWidth), px(SettingsDesign::kHeight));
  dialog->setFont(DesignFont(SettingsDesign::kFont));
  const std::vector<DesignControl>& design = SettingsDesign::Controls();
  controls.clear();
  for (std::size_t i = 0; i < design.size(); ++i) {
    const DesignControl& c = design[i];
    const int container = SettingsDesign::ContainerOf(static_cast<int>(i));
    QWidget* w = Make(c, container < 0 ? dialog : controls[static_cast<std::size_t>(container)]);
    w->setObjectName(Q(c.name));
    if (c.textIndex >= 0) w->setProperty("textIndex", QString::number(c.textIndex));
    w->setGeometry(px(c.place.left), px(c.place.top), px(c.place.width), px(c.place.height));
    if (!c.toolTip.empty()) w->setToolTip(Q(c.toolTip));
    if (c.font != SettingsDesign::kFont) w->setFont(DesignFont(c.font));
    if (c.hidden) w->hide();
    if (!c.group.empty()) {
      QButtonGroup*& group = groups[c.group];
      if (group == nullptr) group = new QButtonGroup(dialog);
      group->addButton(static_cast<QRadioButton*>(w), c.element);
    }
    controls.push_back(w);
  }
}

QWidget* ChSettingsDesign::Control(std::string_view name) const {
  const int i = SettingsDesign::IndexOf(name);
  return i >= 0 && static_cast<std::size_t>(i) < controls.size()
             ? controls[static_cast<std::size_t>(i)]
             : nullptr;
}

}  // namespace tarnwell
