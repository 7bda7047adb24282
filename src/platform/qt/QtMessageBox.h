// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>

#include "platform/MessageBox.h"

class QWidget;

namespace tarnwell {

// Message boxes with an OK button. When the environment variable TARNWELL_MESSAGE_LOG names a
// file, each message is appended to it as one line (title, TAB, text) and the box returns at
// once instead of waiting for the operator; tests and unattended runs use this.
class QtMessageBox : public MessageBox {
 public:
  explicit QtMessageBox(std::string programTitle) : programTitle_(std::move(programTitle)) {}
  void SetParent(QWidget* parent) { parent_ = parent; }
  void Show(const std::string& text, const std::string& title) override;
  // While the program ends on a termination request nobody can answer a box: messages go to
  // standard error instead.
  void SetQuiet() { quiet_ = true; }

 private:
  std::string programTitle_;
  QWidget* parent_ = nullptr;
  bool quiet_ = false;
};

}  // namespace tarnwell
