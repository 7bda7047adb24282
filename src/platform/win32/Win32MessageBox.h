// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <windows.h>

#include <atomic>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "platform/MessageBox.h"

namespace tarnwell {

// Message boxes with an OK button. During start-up and shutdown a box waits for OK. While the
// program runs, Show returns at once and the box waits on a thread of its own, so that no box
// ever holds the handler that asked for it: frames keep being read and recorded while a box
// waits for a person. When the environment variable TARNWELL_MESSAGE_LOG names a file, each
// message is appended to it as one UTF-8 line (title, TAB, text) instead; tests and unattended
// runs use this. Use it from the user-interface thread.
class Win32MessageBox : public MessageBox {
 public:
  explicit Win32MessageBox(std::string programTitle);
  // Closes the boxes still waiting beside the program.
  ~Win32MessageBox() override;
  Win32MessageBox(const Win32MessageBox&) = delete;
  Win32MessageBox& operator=(const Win32MessageBox&) = delete;

  // The window a box that waits for OK stands over when none of ours is active.
  void SetOwner(HWND owner) { owner_ = owner; }
  void Show(const std::string& text, const std::string& title) override;
  // False once the program runs (boxes no longer wait), true again for its shutdown.
  void SetWaiting(bool waiting) { waiting_ = waiting; }
  // While the program ends on a termination request nobody can answer a box: messages go to
  // standard error instead.
  void SetQuiet() { quiet_ = true; }

  // The most boxes up at once; more go to standard error, so memory and threads stay bounded
  // however long nobody answers.
  static constexpr std::size_t kMostOpen = 8;

 private:
  struct OpenBox;

  void OpenBeside(std::wstring title, std::wstring text);
  void ForgetClosed();

  std::string programTitle_;
  HWND owner_ = nullptr;
  bool waiting_ = true;
  bool quiet_ = false;
  std::vector<std::unique_ptr<OpenBox>> open_;
};

}  // namespace tarnwell
