// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/qt/DesignFonts.h"

#include <QDir>
#include <QFileInfo>
#include <QFontDatabase>

namespace tarnwell {
namespace {

// A font file is read by the font engine: it must come from root, as what we install does.
bool OnlyRootMayChange(const QFileInfo& info) {
  return info.exists() && info.ownerId() == 0 &&
         !(info.permissions() & (QFileDevice::WriteGroup | QFileDevice::WriteOther));
}

}  // namespace

void RegisterDesignFonts(const std::string& folder) {
  if (QFontDatabase::hasFamily(QStringLiteral("Tahoma"))) return;
  const QDir dir(QString::fromStdString(folder));
  if (!OnlyRootMayChange(QFileInfo(dir.absolutePath()))) return;
  for (const char* face : {"tahoma.ttf", "tahomabd.ttf"}) {
    const QFileInfo file(dir.filePath(QString::fromLatin1(face)));
    if (file.isFile() && OnlyRootMayChange(file))
      QFontDatabase::addApplicationFont(file.absoluteFilePath());
  }
}

}  // namespace tarnwell
