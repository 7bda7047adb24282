// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QLabel>

namespace tarnwell {

// The reading in large digits. The label reaches above its panel, which clips it; its digits
// stand at the right, one pixel below the panel's top edge whatever the face's line metrics, so
// that none of them is cut.
class DigitsLabel : public QLabel {
 public:
  using QLabel::QLabel;

 protected:
  void moveEvent(QMoveEvent* event) override;
  void changeEvent(QEvent* event) override;

 private:
  void PlaceDigits();
};

}  // namespace tarnwell
