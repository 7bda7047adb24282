// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>

#include "FakeFileSystem.h"
#include "FakeMessageBox.h"
#include "SettingsRig.h"
#include "Win32TestSupport.h"
#include "i18n/win32/Win32ToolTips.h"
#include "platform/win32/Utf16.h"
#include "settings/win32/Win32SettingsDialog.h"

namespace tarnwell::testing {
namespace {

// COM ports, of which those in `present` are plugged in.
struct ComPorts : SerialDevices {
  std::string DeviceFor(int port) const override { return "COM" + std::to_string(port); }
  int PortOf(const std::string& device) const override { return std::stoi(device.substr(3)); }
  std::vector<int> PortEntries() const override { return {}; }
  std::string PortEntryTarget(int) const override { return {}; }
  bool Present(const std::string& d) const override {
    return std::find(present.begin(), present.end(), d) != present.end();
  }
  std::string UsbName(const std::string&) const override { return "FTDI FT232R USB UART"; }
  std::vector<std::string> Devices() const override { return present; }
  std::vector<std::string> present{"COM33"};
};

// The operator's keyboard and mouse, through the system's input queue.
void Send(std::vector<INPUT> inputs) {
  ::SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT));
}
// A key by its code, or the character `typed`.
void Key(WORD key, bool down, wchar_t typed = 0) {
  INPUT in{};
  in.type = INPUT_KEYBOARD;
  in.ki.wVk = key;
  in.ki.wScan = typed;
  in.ki.dwFlags = (down ? 0 : KEYEVENTF_KEYUP) | (typed ? KEYEVENTF_UNICODE : 0);
  Send({in});
}
void Press(WORD key) { Key(key, true), Key(key, false); }
void Click(HWND control, bool twice = false) {
  RECT r{};
  ::GetWindowRect(control, &r);
  // On the box itself: a check box or option button takes clicks only on its box and caption.
  const int x = r.left + std::min(6L, (r.right - r.left) / 2), y = (r.top + r.bottom) / 2;
  INPUT move{};
  move.type = INPUT_MOUSE;
  move.mi.dx = x * 65535 / (::GetSystemMetrics(SM_CXSCREEN) - 1);
  move.mi.dy = y * 65535 / (::GetSystemMetrics(SM_CYSCREEN) - 1);
  move.mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
  // Each press carries the place too: a window the system maps under the pointer meanwhile can
  // move the pointer back to where it was.
  INPUT down = move, up = move;
  down.mi.dwFlags |= MOUSEEVENTF_LEFTDOWN, up.mi.dwFlags |= MOUSEEVENTF_LEFTUP;
  twice ? Send({move, down, up, down, up}) : Send({move, down, up});
}
// Clicks into the box, selects what it holds and types `text` over it.
void Retype(HWND edit, const std::string& text) {
  Click(edit);
  Press(VK_END);
  Key(VK_SHIFT, true), Press(VK_HOME), Key(VK_SHIFT, false);
  for (wchar_t c : Widen(text)) Key(0, true, c), Key(0, false, c);
}

// The cog opens the dialog beside its owner, unowned, fixed in size; typing, choosing, ticking
// and Apply reach the running program; a bad entry is told and takes the focus; a double click
// on the hint switches the advanced mode; Enter presses nothing; opened again it keeps its edits;
// Defaults, the folder button and Exit work; a held Esc closes one dialog, not the next.
TEST(Win32SettingsDialog, DrivenAsAnOperatorItReachesTheRunningProgram) {
  SettingsRig rig;
  rig.config.Performance = Value::Text("x");  // a level the options do not hold
  FakeMessageBox messages;
  FakeFileSystem files;
  const SettingsServices services = rig.Services(messages, files);
  ComPorts devices;
  HWND owner = ::CreateWindowExW(0, L"Static", L"owner", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 40, 40,
                                 300, 300, nullptr, nullptr, nullptr, nullptr);
  std::unique_ptr<Win32SettingsDialog> slot;
  const auto cog = [&]() -> Win32SettingsDialog& {
    return Win32SettingsDialog::ShowOrRaise(slot, services, rig.lang, 0, owner, &devices);
  };
  Win32SettingsDialog& dialog = cog();
  HWND window = dialog.Window();
  const auto at = [&](const char* name) { return dialog.Control(name); };
  const auto text = [&](const char* name) { return TextOf(at(name)); };
  RECT o{}, d{};
  ::GetWindowRect(owner, &o), ::GetWindowRect(window, &d);
  EXPECT_EQ(std::pair(d.left, d.top), std::pair(o.right, o.top));
  EXPECT_EQ(::GetWindow(window, GW_OWNER), nullptr);
  EXPECT_EQ(
      ::GetWindowLongPtrW(window, GWL_STYLE) & (WS_MINIMIZEBOX | WS_MAXIMIZEBOX | WS_THICKFRAME),
      0);
  ASSERT_TRUE(PumpUntil([&] { return ::GetForegroundWindow() == window; }));

  // The device line follows the typing; the port's tip lists the devices present when shown.
  Retype(at("CommSel"), "33");
  ASSERT_TRUE(PumpUntil([&] { return text("LabCommSet") == "Comm33,9600,8b,n,1s"; }));
  EXPECT_EQ(text("LabRights"), "COM33: present, FTDI FT232R USB UART");
  devices.present.push_back("COM34");
  EXPECT_EQ(Narrow(Win32ToolTips::Get(at("CommSel"))),
            "Serial devices present, by port number:\n33: COM33, FTDI FT232R USB UART\n34: COM34, "
            "FTDI FT232R USB UART");
  Press(VK_TAB), Press(VK_DOWN);  // the speed list: 9600 -> 19200
  ASSERT_TRUE(PumpUntil([&] { return text("LabCommSet") == "Comm1, 19200,8b,n,1s"; }));

  // No performance option shows chosen; once one is, the options take only one.
  EXPECT_EQ(dialog.Form().Controls().OptPf, -1);
  Click(at("OptPf_0")), Click(at("OptPf_2"));
  ASSERT_TRUE(PumpUntil([&] { return dialog.Form().Controls().OptPf == 2; }));
  EXPECT_EQ(::SendMessageW(at("OptPf_0"), BM_GETCHECK, 0, 0), BST_UNCHECKED);

  const auto before = rig.Now();
  Retype(at("CommSel"), "2");
  Click(at("Expanded"));
  Retype(at("TxtMax"), "750");
  Retype(at("NofSamples"), "300");
  Click(at("SelDatLogEnab"));
  Click(at("LogSet_2"));
  Retype(at("TxtMinute"), "3");
  ASSERT_TRUE(PumpUntil([&] { return dialog.Form().Controls().TxtMinute == "3"; }));
  std::string disabled;
  for (const DesignControl& c : SettingsDesign::Controls())
    disabled += ::IsWindowEnabled(at(c.name.c_str())) ? "" : c.name + " ";
  EXPECT_EQ(disabled, "TxtSecond TxtMotionTmr ");
  Click(at("Apply"));
  ASSERT_TRUE(PumpUntil([&] { return rig.writes == 1; }));
  EXPECT_EQ(Changes(before, rig.Now()),
            "Expanded=0 CommPort=2 BaudIndex=4 LogTime=180 Performance=2 NofSamples=300 "
            "GraphMax=750 LogEnable=1 com=2 line=19200,n,8,1 history=300:0 interval=100 opens=1 "
            "refreshes=1 resets=1 writes=1");

  Retype(at("TxtMin"), "abc");
  Click(at("Apply"));
  ASSERT_TRUE(PumpUntil([&] { return messages.shown.size() == 1; }));
  EXPECT_EQ(std::pair(messages.shown[0].text, ::GetFocus()),
            std::pair(std::string("T6"), at("TxtMin")));

  Click(at("ContinuousSendHint"), true);
  ASSERT_TRUE(PumpUntil([&] { return rig.config.AdvancedMode; }));
  Click(at("SamplesLabel"));  // a click of its own, not the first of a double click
  Click(at("ContinuousSendHint"), true);
  ASSERT_TRUE(PumpUntil([&] { return !rig.config.AdvancedMode; }));

  // Enter presses no button, not even a focused one; what follows it shows it was taken.
  const auto applied = rig.Now();
  // Focused as Tab focuses it, which makes a button the one Enter would press.
  ::SendMessageW(window, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(at("Defaults")), TRUE);
  Press(VK_RETURN);
  Click(at("CommSel"));
  Press(VK_RETURN);
  Retype(at("CommSel"), "9");
  ASSERT_TRUE(PumpUntil([&] { return dialog.Form().Controls().CommSel == "9"; }));
  EXPECT_EQ(&cog(), &dialog);
  EXPECT_EQ(std::pair(text("CommSel"), text("NofSamples")),
            std::pair(std::string("9"), std::string("300")));
  EXPECT_EQ(Changes(applied, rig.Now()), "");

  Click(at("OpenFolder"));
  ASSERT_TRUE(PumpUntil([&] { return rig.processes.started == "browse /prog/Log"; }));
  Click(at("Defaults"));
  ASSERT_TRUE(PumpUntil([&] { return text("NofSamples") == "250"; }));

  // Esc closes the dialog; still held, its repeats do not close the next one the cog opens.
  Key(VK_ESCAPE, true);
  ASSERT_TRUE(PumpUntil([&] { return !dialog.IsOpen(); }));
  Win32SettingsDialog& second = cog();
  ASSERT_TRUE(PumpUntil([&] { return ::GetForegroundWindow() == second.Window(); }));
  EXPECT_EQ(TextOf(second.Control("CommSel")), "2");
  Key(VK_ESCAPE, true);
  Retype(second.Control("CommSel"), "5");
  ASSERT_TRUE(PumpUntil([&] { return second.Form().Controls().CommSel == "5"; }));
  EXPECT_TRUE(second.IsOpen());
  // Let go, and pressed again (later than a repeat would come, by what comes between).
  Key(VK_ESCAPE, false);
  Retype(second.Control("CommSel"), "6");
  ASSERT_TRUE(PumpUntil([&] { return second.Form().Controls().CommSel == "6"; }));
  Press(VK_ESCAPE);
  ASSERT_TRUE(PumpUntil([&] { return !second.IsOpen(); }));

  Win32SettingsDialog& third = cog();
  ASSERT_TRUE(PumpUntil([&] { return ::GetForegroundWindow() == third.Window(); }));
  Click(third.Control("Cancel"));
  ASSERT_TRUE(PumpUntil([&] { return !third.IsOpen(); }));
  ::DestroyWindow(owner);
}

// Apply's message box waits in a loop of its own; a button pressed meanwhile does nothing.
TEST(Win32SettingsDialog, ButtonsWaitForAMessageOfApply) {
  struct PressingAgain : MessageBox {
    void Show(const std::string&, const std::string&) override {
      if (++shown == 1) ::SendMessageW(apply, BM_CLICK, 0, 0);
    }
    HWND apply = nullptr;
    int shown = 0;
  } messages;
  SettingsRig rig;
  FakeFileSystem files;
  const SettingsServices services = rig.Services(messages, files);
  std::unique_ptr<Win32SettingsDialog> slot;
  Win32SettingsDialog& dialog =
      Win32SettingsDialog::ShowOrRaise(slot, services, rig.lang, 0, nullptr, nullptr);
  messages.apply = dialog.Control("Apply");
  ::SetWindowTextW(dialog.Control("TxtMin"), L"abc");
  ::SendMessageW(messages.apply, BM_CLICK, 0, 0);
  EXPECT_EQ(std::pair(messages.shown, rig.writes), std::pair(1, 1));
}

}  // namespace
}  // namespace tarnwell::testing
