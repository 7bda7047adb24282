// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/qt/QtMessageBox.h"

#include <QApplication>
#include <QFile>
#include <QMessageBox>
#include <QString>
#include <algorithm>
#include <cstdio>
#include <cstdlib>

namespace tarnwell {

void QtMessageBox::Show(const std::string& text, const std::string& title) {
  const std::string& shownTitle = title.empty() ? programTitle_ : title;
  if (const char* log = std::getenv("TARNWELL_MESSAGE_LOG"); log && *log) {
    QFile f(QString::fromLocal8Bit(log));
    if (f.open(QIODevice::Append)) {
      std::string line = shownTitle + "\t" + text + "\n";
      f.write(line.data(), static_cast<qint64>(line.size()));
      return;
    }
    std::fprintf(stderr, "%s: %s\n", shownTitle.c_str(), text.c_str());
    return;
  }
  if (quiet_) {
    std::fprintf(stderr, "%s: %s\n", shownTitle.c_str(), text.c_str());
    return;
  }
  const QString boxTitle = QString::fromStdString(shownTitle);
  const QString boxText = QString::fromStdString(text);
  if (!waiting_) {
    QMetaObject::invokeMethod(
        &queue_, [this, boxTitle, boxText] { Open(boxTitle, boxText); }, Qt::QueuedConnection);
    return;
  }
  // Over the window the operator works in (the settings dialog after Apply), which stays in
  // front after OK.
  QWidget* over = QApplication::activeWindow();
  QMessageBox::information(over ? over : parent_, boxTitle, boxText, QMessageBox::Ok);
}

void QtMessageBox::Open(const QString& title, const QString& text) {
  std::erase_if(open_, [](const QPointer<QMessageBox>& box) { return box.isNull(); });
  // The same message again only brings its box to the front.
  for (const QPointer<QMessageBox>& box : open_) {
    if (box->windowTitle() == title && box->text() == text) return box->raise();
  }
  if (open_.size() >= kMostOpen) {
    std::fprintf(stderr, "%s: %s\n", qPrintable(title), qPrintable(text));
    return;
  }
  // Over the window the operator works in, never over another box, which takes its children
  // along when it closes.
  QWidget* over = QApplication::activeWindow();
  while (qobject_cast<QMessageBox*>(over)) over = over->parentWidget();
  auto* box = new QMessageBox(QMessageBox::Information, title, text, QMessageBox::Ok,
                              over ? over : parent_);
  box->setAttribute(Qt::WA_DeleteOnClose);
  box->open();
  open_.emplace_back(box);
}

}  // namespace tarnwell
