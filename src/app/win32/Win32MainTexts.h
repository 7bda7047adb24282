// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <windows.h>

#include <array>
#include <memory>
#include <string>

#include "app/MainDesign.h"
#include "i18n/TextForm.h"

namespace tarnwell {

// The main window's controls as the language texts see them, in the design's order: captions
// through the controls' own texts, tool tips through one tool tip window. The window itself has
// no text index and keeps its title.
class Win32MainTexts : public TextForm {
 public:
  Win32MainTexts(HWND window, const std::array<HWND, 11>& controls);
  ~Win32MainTexts() override;
  Win32MainTexts(const Win32MainTexts&) = delete;
  Win32MainTexts& operator=(const Win32MainTexts&) = delete;

  // The tip shown when the pointer rests on `control`; empty shows none.
  void SetToolTip(MainControl control, const std::string& text);
  std::string ToolTip(MainControl control) const;

  std::string TextIndex() const override { return {}; }
  void SetTitle(const std::string&) override {}
  int ControlCount() const override { return static_cast<int>(controls_.size()); }
  TextControl& Control(int index) override;

 private:
  class Item;

  HWND tips_ = nullptr;
  std::array<HWND, 11> handles_;
  std::array<std::wstring, 11> tipTexts_;
  std::array<std::unique_ptr<TextControl>, 11> controls_;
};

}  // namespace tarnwell
