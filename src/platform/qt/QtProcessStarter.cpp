// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/qt/QtProcessStarter.h"

#include <QProcess>
#include <QString>
#include <QStringList>

namespace tarnwell {

bool QtProcessStarter::StartDetached(const std::string& program,
                                     const std::vector<std::string>& arguments) {
  QStringList args;
  for (const std::string& a : arguments) args << QString::fromStdString(a);
  return QProcess::startDetached(QString::fromStdString(program), args);
}

bool QtProcessStarter::OpenFolder(const std::string& folder) {
  return StartDetached("xdg-open", {folder});
}

}  // namespace tarnwell
