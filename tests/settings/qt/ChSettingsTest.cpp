// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QButtonGroup>
#include <QTest>

#include "FakeFileSystem.h"
#include "FakeMessageBox.h"
#include "SettingsRig.h"
#include "platform/SerialDevices.h"
#include "platform/posix/DeviceNames.h"
#include "qt/QtTestApplication.h"
#include "settings/qt/ChSettings.h"

namespace tarnwell::testing {
namespace {

// USB adapters on the numbers 33 and up map to; `devices` says which are plugged in.
struct Adapters : SerialDevices {
  std::string DeviceFor(int port) const override { return MappedDevice(port); }
  int PortOf(const std::string& device) const override { return MappedPort(device); }
  std::vector<int> PortEntries() const override { return {}; }
  std::string PortEntryTarget(int) const override { return {}; }
  bool Present(const std::string& d) const override { return d == devices.at(0); }
  std::string UsbName(const std::string&) const override { return "FTDI FT232R USB UART"; }
  std::vector<std::string> Devices() const override { return devices; }
  std::vector<std::string> devices{"/dev/ttyUSB0"};
};

[[maybe_unused]] const auto* const kQt = ::testing::AddGlobalTestEnvironment(new QtTestApplication);

std::string warnings;  // what the toolkit complained of

TEST(ChSettingsWindow, TypedSettingsReachTheSettingsAndReopenedPort) {
  qInstallMessageHandler([](QtMsgType type, const QMessageLogContext&, const QString& text) {
    // The offscreen platform cannot raise windows.
    if (type != QtDebugMsg && !text.startsWith("This plugin does not support"))
      warnings += text.toStdString() + "\n";
  });
  SettingsRig rig;
  rig.config.Performance = Value::Text("x");  // a level the options do not hold
  FakeMessageBox messages;
  FakeFileSystem files;
  const SettingsServices services = rig.Services(messages, files);
  std::vector<QWidget*> textsApplied;
  const ChSettings::ApplyTexts applyTexts = [&](QWidget* w) { textsApplied.push_back(w); };
  QPointer<ChSettings> slot;
  Adapters devices;
  ChSettings* dialog = ChSettings::ShowOrRaise(slot, services, applyTexts, nullptr, &devices);
  ASSERT_TRUE(QTest::qWaitForWindowExposed(dialog));
  const auto find = [&](const char* name) { return dialog->findChild<QWidget*>(name); };
  const auto text = [&](const char* name) { return find(name)->property("text").toString(); };
  // On the box itself: a check box or option button takes clicks only on its box and caption.
  const auto click = [&](const char* name) {
    QTest::mouseClick(find(name), Qt::LeftButton, {}, QPoint(6, find(name)->height() / 2));
  };
  const auto retype = [&](const char* name, const char* typed) {
    QTest::keyClick(find(name), Qt::Key_A, Qt::ControlModifier),
        QTest::keyClicks(find(name), typed);
  };
  EXPECT_FALSE(dialog->isModal());
  // The controls shown disabled: while recording is off, then on by the minute with a fixed range.
  const auto disabled = [&] {
    QString names;
    for (QWidget* w : dialog->findChildren<QWidget*>())
      names += w->testAttribute(Qt::WA_ForceDisabled) ? w->objectName() + " " : "";
    return names.toStdString();
  };
  EXPECT_EQ(
      disabled(),
      "LabMin TxtMin LabMax TxtMax LogIncSel LogSet_0 LogSet_1 LogSet_2 LogSet_3 TxtSecond "
      "TxtMinute TxtMotionTmr LabStabTime FrameFile LogTypeSel_0 LogTypeSel_1 LabJump TxtJump "
      "LabThreshold TxtThreshold ");

  // The device line follows the typing, in full within its frame; the list of devices is made
  // when its tip is asked for.
  QWidget* device = find("LabRights");
  retype("CommSel", "33");
  EXPECT_EQ(std::pair(text("LabRights"), device->toolTip()),
            std::pair(QString("/dev/ttyUSB0: present, FTDI FT232R USB UART"), QString()));
  const QSize room = device->contentsRect().size();
  EXPECT_EQ(room.expandedTo(device->fontMetrics().size(0, text("LabRights"))), room);
  devices.devices.push_back("/dev/ttyUSB1");
  QHelpEvent tip(QEvent::ToolTip, {}, {});
  QCoreApplication::sendEvent(find("CommSel"), &tip);
  EXPECT_EQ(find("CommSel")->toolTip(),
            "Serial devices present, by port number:\n33: /dev/ttyUSB0, FTDI FT232R USB UART\n34: "
            "/dev/ttyUSB1, FTDI FT232R USB UART");
  find("BaudSel")->setFocus();
  QTest::keyClick(find("BaudSel"), Qt::Key_Down);  // 9600 -> 19200
  EXPECT_EQ(text("LabCommSet"), "Comm1, 19200,8b,n,1s");

  // No performance option shows chosen; once one is, the options take only one.
  const auto* options = static_cast<QAbstractButton*>(find("OptPf_0"))->group();
  EXPECT_EQ(options->checkedId(), -1);
  click("OptPf_0");
  click("OptPf_2");
  EXPECT_EQ(std::pair(options->checkedId(), options->button(0)->isChecked()), std::pair(2, false));

  const auto before = rig.Now();
  retype("CommSel", "2");
  click("Expanded");
  retype("TxtMax", "750");
  retype("NofSamples", "300");
  click("SelDatLogEnab");
  click("LogSet_2");
  retype("TxtMinute", "3");
  EXPECT_EQ(disabled(), "TxtSecond TxtMotionTmr ");
  click("Apply");
  EXPECT_EQ(Changes(before, rig.Now()),
            "Expanded=0 CommPort=2 BaudIndex=4 LogTime=180 Performance=2 NofSamples=300 "
            "GraphMax=750 LogEnable=1 com=2 line=19200,n,8,1 history=300:0 interval=100 opens=1 "
            "refreshes=1 resets=1 writes=1");

  // A bad entry is reported and the focus goes to it.
  retype("TxtMin", "abc");
  click("Apply");
  ASSERT_EQ(messages.shown.size(), 1u);
  EXPECT_EQ(std::pair(messages.shown[0].text, dialog->focusWidget()),
            std::pair(std::string("T6"), find("TxtMin")));

  // A double click on the caption switches the advanced mode, and nothing else does.
  QTest::mouseDClick(find("ContinuousSendHint"), Qt::LeftButton);
  click("ContinuousSendHint");
  EXPECT_TRUE(rig.config.AdvancedMode);
  QTest::mouseDClick(find("ContinuousSendHint"), Qt::LeftButton);
  EXPECT_FALSE(rig.config.AdvancedMode);

  // Enter presses no button, not even a focused one; opened again it keeps its unsaved edits.
  const auto applied = rig.Now();
  retype("CommSel", "9");
  QTest::keyClick(find("CommSel"), Qt::Key_Return);
  find("Defaults")->setFocus();
  QTest::keyClick(find("Defaults"), Qt::Key_Return);
  EXPECT_EQ(ChSettings::ShowOrRaise(slot, services, applyTexts), dialog);
  EXPECT_EQ(Changes(applied, rig.Now()), "");
  EXPECT_EQ(textsApplied, std::vector<QWidget*>{dialog});
  EXPECT_EQ(text("CommSel"), "9");

  click("Cancel");
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  EXPECT_TRUE(slot.isNull());
  EXPECT_EQ(warnings, "");
  qInstallMessageHandler(nullptr);
}

}  // namespace
}  // namespace tarnwell::testing
