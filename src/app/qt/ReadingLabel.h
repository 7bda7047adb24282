// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QImage>
#include <QLabel>
#include <QPoint>
#include <QString>
#include <deque>

namespace tarnwell {

// The reading in its large digits. Characters this large are drawn from their outlines each
// time (they are beyond the toolkit's glyph cache), which costs more than the rest of a refresh;
// a steady reading flickers between a few texts, so the last few drawn are kept as pictures of
// what the label draws and copied in.
class ReadingLabel : public QLabel {
  Q_OBJECT

 public:
  using QLabel::QLabel;

 protected:
  void paintEvent(QPaintEvent* event) override;
  void changeEvent(QEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;

 private:
  struct Drawn {
    QString text;
    Qt::Alignment alignment;
    QImage image;  // the drawn part only
    QPoint at;
  };
  const Drawn& Draw();

  std::deque<Drawn> drawn_;  // the latest first
  QLabel twin_;
};

}  // namespace tarnwell
