// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QObject>
#include <QPointer>
#include <string>
#include <vector>

#include "platform/MessageBox.h"

class QMessageBox;
class QWidget;

namespace tarnwell {

// Message boxes with an OK button. During start-up and shutdown a box waits for OK. While the
// program runs, Show returns at once and the box comes up from the event loop, so that no box
// ever holds the handler that asked for it: frames keep being read and recorded while a box
// waits for a person. When the environment variable TARNWELL_MESSAGE_LOG names a file, each
// message is appended to it as one line (title, TAB, text) instead; tests and unattended runs
// use this.
class QtMessageBox : public MessageBox {
 public:
  explicit QtMessageBox(std::string programTitle) : programTitle_(std::move(programTitle)) {}
  void SetParent(QWidget* parent) { parent_ = parent; }
  void Show(const std::string& text, const std::string& title) override;
  // False once the program runs (boxes no longer wait), true again for its shutdown.
  void SetWaiting(bool waiting) { waiting_ = waiting; }
  // While the program ends on a termination request nobody can answer a box: messages go to
  // standard error instead.
  void SetQuiet() { quiet_ = true; }

  // The most boxes up at once; more go to standard error, so memory stays bounded however
  // long nobody answers.
  static constexpr std::size_t kMostOpen = 8;

 private:
  void Open(const QString& title, const QString& text);

  std::string programTitle_;
  QWidget* parent_ = nullptr;
  bool waiting_ = true;
  bool quiet_ = false;
  std::vector<QPointer<QMessageBox>> open_;
  // Boxes asked for are opened through this object, and never after it is gone.
  QObject queue_;
};

}  // namespace tarnwell
