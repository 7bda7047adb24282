// SPDX-License-Identifier: GPL-3.0-or-later
#include "i18n/qt/QtFormTexts.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QListWidget>
#include <QWidget>

#include "i18n/FormTexts.h"
#include "i18n/LangCharset.h"
#include "i18n/TextIndex.h"

namespace tarnwell {
namespace {

constexpr const char* kTextIndexProperty = "textIndex";

std::string TextIndexOf(const QWidget* w) {
  return w->property(kTextIndexProperty).toString().toStdString();
}

QString Q(const std::string& utf8) { return QString::fromStdString(utf8); }

// A label showing a picture is a picture box: setting a text would drop the picture.
bool ShowsPicture(const QLabel* label) { return !label->pixmap().isNull(); }

// Depth first in child order, which is the order the controls were made in. Child windows
// (other forms, popups) are not controls of this one.
void AddControls(QWidget* parent, std::vector<QWidget*>& out) {
  for (QObject* child : parent->children()) {
    auto* w = qobject_cast<QWidget*>(child);
    if (w == nullptr || w->isWindow()) continue;
    out.push_back(w);
    AddControls(w, out);
  }
}

class QtTextControl : public TextControl {
 public:
  explicit QtTextControl(QWidget* w) : w_(w) {}

  std::string TextIndex() const override { return TextIndexOf(w_); }
  int ListCount() const override {
    if (auto* combo = qobject_cast<QComboBox*>(w_)) return combo->count();
    if (auto* list = qobject_cast<QListWidget*>(w_)) return list->count();
    return 0;
  }
  void SetListEntry(int entry, const std::string& text) override {
    if (auto* combo = qobject_cast<QComboBox*>(w_)) {
      combo->setItemText(entry, Q(text));
    } else if (auto* list = qobject_cast<QListWidget*>(w_)) {
      if (QListWidgetItem* item = list->item(entry)) item->setText(Q(text));
    }
  }
  void SetCaption(const std::string& text) override {
    if (auto* label = qobject_cast<QLabel*>(w_)) {
      if (!ShowsPicture(label)) label->setText(Q(text));
    } else if (auto* button = qobject_cast<QAbstractButton*>(w_)) {
      button->setText(Q(text));
    } else if (auto* frame = qobject_cast<QGroupBox*>(w_)) {
      frame->setTitle(Q(text));
    }
  }
  void SetToolTip(const std::string& text) override { w_->setToolTip(Q(text)); }
  // Qt shows the decoded Unicode texts in any font: its fonts have no character set.
  void SetFontCharset(int) override {}

 private:
  QWidget* w_;
};

class QtTextForm : public TextForm {
 public:
  explicit QtTextForm(QWidget* window) : window_(window) {
    std::vector<QWidget*> widgets;
    AddControls(window, widgets);
    controls_.reserve(widgets.size());
    for (QWidget* w : widgets) controls_.emplace_back(w);
  }

  std::string TextIndex() const override { return TextIndexOf(window_); }
  void SetTitle(const std::string& text) override { window_->setWindowTitle(Q(text)); }
  int ControlCount() const override { return static_cast<int>(controls_.size()); }
  TextControl& Control(int index) override { return controls_[static_cast<std::size_t>(index)]; }

 private:
  QWidget* window_;
  std::vector<QtTextControl> controls_;
};

}  // namespace

void ApplyFormTextsTo(QWidget* window, const LangTable& texts) {
  if (window == nullptr) return;
  QtTextForm form(window);
  ApplyFormTexts(form, texts, LangCharsetFromText(texts.Text(text::kCharset)));
}

}  // namespace tarnwell
