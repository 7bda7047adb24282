// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/qt/QtRegional.h"

#include <QLocale>

namespace tarnwell {

Regional SystemRegional() {
  Regional r;
  const QLocale locale = QLocale::system();
  const QString point = locale.decimalPoint();
  if (point.size() == 1 && point[0].unicode() < 128)
    r.decimal = static_cast<char>(point[0].unicode());
  for (const QChar c : locale.dateFormat(QLocale::ShortFormat)) {
    if (!c.isLetter()) {
      if (c.unicode() < 128 && c != QLatin1Char(' '))
        r.dateSeparator = static_cast<char>(c.unicode());
      break;
    }
  }
  return r;
}

}  // namespace tarnwell
