// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/win32/Win32MainTexts.h"

#include <commctrl.h>

#include <memory>

#include "platform/win32/Utf16.h"

namespace tarnwell {

class Win32MainTexts::Item : public TextControl {
 public:
  Item(Win32MainTexts& texts, MainControl control) : texts_(texts), control_(control) {}

  std::string TextIndex() const override { return DesignOf(control_).textIndex; }
  int ListCount() const override { return 0; }
  void SetListEntry(int, const std::string&) override {}
  // Picture boxes, the panel and the logo have no caption; the buttons show their pictures.
  void SetCaption(const std::string& text) override {
    const MainControlKind kind = DesignOf(control_).kind;
    if (kind != MainControlKind::kLabel && kind != MainControlKind::kCheckBox &&
        kind != MainControlKind::kPictureButton) {
      return;
    }
    HWND w = texts_.handles_[static_cast<std::size_t>(control_)];
    ::SetWindowTextW(w, Widen(text).c_str());
    ::InvalidateRect(w, nullptr, TRUE);
  }
  void SetToolTip(const std::string& text) override { texts_.SetToolTip(control_, text); }

 private:
  Win32MainTexts& texts_;
  MainControl control_;
};

Win32MainTexts::Win32MainTexts(HWND window, const std::array<HWND, 11>& controls)
    : handles_(controls) {
  tips_ = ::CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr,
                            WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX, CW_USEDEFAULT, CW_USEDEFAULT,
                            CW_USEDEFAULT, CW_USEDEFAULT, window, nullptr,
                            ::GetModuleHandleW(nullptr), nullptr);
  for (const MainControlDesign& d : MainDesign()) {
    const auto i = static_cast<std::size_t>(d.control);
    controls_[i] = std::make_unique<Item>(*this, d.control);
    tipTexts_[i] = Widen(d.toolTip);
    TTTOOLINFOW tool{};
    tool.cbSize = sizeof tool;
    tool.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
    tool.hwnd = window;
    tool.uId = reinterpret_cast<UINT_PTR>(handles_[i]);
    tool.lpszText = tipTexts_[i].data();
    ::SendMessageW(tips_, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
  }
}

Win32MainTexts::~Win32MainTexts() {
  if (tips_) ::DestroyWindow(tips_);
}

TextControl& Win32MainTexts::Control(int index) {
  return *controls_.at(static_cast<std::size_t>(index));
}

void Win32MainTexts::SetToolTip(MainControl control, const std::string& text) {
  const auto i = static_cast<std::size_t>(control);
  tipTexts_[i] = Widen(text);
  TTTOOLINFOW tool{};
  tool.cbSize = sizeof tool;
  tool.hwnd = ::GetWindow(tips_, GW_OWNER);
  tool.uId = reinterpret_cast<UINT_PTR>(handles_[i]);
  tool.lpszText = tipTexts_[i].data();
  ::SendMessageW(tips_, TTM_UPDATETIPTEXTW, 0, reinterpret_cast<LPARAM>(&tool));
}

std::string Win32MainTexts::ToolTip(MainControl control) const {
  return Narrow(tipTexts_[static_cast<std::size_t>(control)]);
}

}  // namespace tarnwell
