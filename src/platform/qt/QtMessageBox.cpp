// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/qt/QtMessageBox.h"

#include <QApplication>
#include <QFile>
#include <QMessageBox>
#include <QString>
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
  // Over the window the operator works in (the settings dialog after Apply), which stays in
  // front after OK.
  QWidget* over = QApplication::activeWindow();
  QMessageBox::information(over ? over : parent_, QString::fromStdString(shownTitle),
                           QString::fromStdString(text), QMessageBox::Ok);
}

}  // namespace tarnwell
