// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/qt/DirectFill.h"

#include <QImage>
#include <QPaintEngine>
#include <QPainter>
#include <cmath>

namespace tarnwell {

std::optional<DirectTarget> DirectTargetOf(QPainter& painter, const QColor& color) {
  QPaintEngine* engine = painter.paintEngine();
  if (!engine || engine->type() != QPaintEngine::Raster || !engine->paintDevice() ||
      engine->paintDevice()->devType() != QInternal::Image) {
    return std::nullopt;
  }
  auto* image = static_cast<QImage*>(engine->paintDevice());
  const QImage::Format format = image->format();
  if (format != QImage::Format_RGB32 && format != QImage::Format_ARGB32 &&
      format != QImage::Format_ARGB32_Premultiplied) {
    return std::nullopt;
  }
  // A shared image would be copied by writing to it, away from the painter's own.
  if (!image->isDetached() || color.alpha() != 255 || painter.hasClipping() ||
      painter.opacity() != 1.0 ||
      (painter.compositionMode() != QPainter::CompositionMode_SourceOver &&
       painter.compositionMode() != QPainter::CompositionMode_Source)) {
    return std::nullopt;
  }
  const QTransform t = painter.deviceTransform();
  if (t.type() > QTransform::TxTranslate || t.dx() != std::round(t.dx()) ||
      t.dy() != std::round(t.dy())) {
    return std::nullopt;
  }
  // The engine's own clip is what a paint event may touch.
  const QRegion system = engine->systemClip();
  return DirectTarget{image, QPoint(static_cast<int>(t.dx()), static_cast<int>(t.dy())),
                      system.isEmpty() ? QRegion(image->rect()) : system & image->rect()};
}

}  // namespace tarnwell
