// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QButtonGroup>
#include <QRegularExpression>
#include <QTest>

#include "FakeFileSystem.h"
#include "FakeMessageBox.h"
#include "QtTestApplication.h"
#include "SettingsRig.h"
#include "platform/SerialDevices.h"
#include "settings/qt/ChSettings.h"

namespace tarnwell::testing {
namespace {

// One USB adapter, on the number 33 maps to.
struct OneAdapter : SerialDevices {
  std::vector<int> PortEntries() const override { return {}; }
  std::string PortEntryTarget(int) const override { return {}; }
  bool Present(const std::string& d) const override { return d == "/dev/ttyUSB0"; }
  std::string UsbName(const std::string&) const override { return "FTDI FT232R USB UART"; }
  std::vector<std::string> Devices() const override { return {"/dev/ttyUSB0"}; }
};

[[maybe_unused]] const auto* const kQt = ::testing::AddGlobalTestEnvironment(new QtTestApplication);

TEST(ChSettingsWindow, TypedSettingsReachTheSettingsAndReopenedPort) {
  SettingsRig rig;
  FakeMessageBox messages;
  FakeFileSystem files;
  const SettingsServices services = rig.Services(messages, files);
  std::vector<QWidget*> textsApplied;
  const ChSettings::ApplyTexts applyTexts = [&](QWidget* w) { textsApplied.push_back(w); };
  QPointer<ChSettings> slot;
  const OneAdapter devices;
  ChSettings* dialog = ChSettings::ShowOrRaise(slot, services, applyTexts, nullptr, &devices);
  ASSERT_TRUE(QTest::qWaitForWindowExposed(dialog));
  const auto find = [&](const char* name) { return dialog->findChild<QWidget*>(name); };
  const auto text = [&](const char* name) { return find(name)->property("text").toString(); };
  // On the box itself: a check box or option button takes clicks only on its box and caption.
  const auto click = [&](const char* name) {
    QTest::mouseClick(find(name), Qt::LeftButton, {}, QPoint(6, find(name)->height() / 2));
  };
  const auto retype = [&](const char* name, const char* typed) {
    find(name)->setFocus();
    QTest::keyClick(find(name), Qt::Key_A, Qt::ControlModifier);
    QTest::keyClicks(find(name), typed);
  };
  EXPECT_FALSE(dialog->isModal());
  EXPECT_EQ(find("CommSel")->toolTip(),
            "Serial devices present, by port number:\n33: /dev/ttyUSB0, FTDI FT232R USB UART");

  // The device line follows the typing, in full within its frame.
  QWidget* device = find("LabRights");
  retype("CommSel", "33");
  EXPECT_EQ(text("LabRights"), "/dev/ttyUSB0: present, FTDI FT232R USB UART");
  const QSize room = device->contentsRect().size();
  EXPECT_EQ(room.expandedTo(device->fontMetrics().size(0, text("LabRights"))), room);
  find("BaudSel")->setFocus();
  QTest::keyClick(find("BaudSel"), Qt::Key_Down);  // 9600 -> 19200
  EXPECT_EQ(text("LabCommSet"), "Comm1, 19200,8b,n,1s");

  const auto before = rig.Now();
  retype("CommSel", "2");
  click("Expanded");
  retype("TxtMax", "750");
  retype("NofSamples", "300");
  click("SelDatLogEnab");
  click("LogSet_2");
  retype("TxtMinute", "3");
  click("Apply");
  EXPECT_EQ(Changes(before, rig.Now()),
            "Expanded=0 CommPort=2 BaudIndex=4 LogTime=180 NofSamples=300 GraphMax=750 "
            "LogEnable=1 com=2 line=19200,n,8,1 history=300:0 interval=100 opens=1 refreshes=1 "
            "resets=1 writes=1");

  // A bad entry is reported and the focus goes to it.
  retype("TxtMin", "abc");
  click("Apply");
  ASSERT_EQ(messages.shown.size(), 1u);
  EXPECT_EQ(messages.shown[0].text, "T6");
  EXPECT_EQ(dialog->focusWidget(), find("TxtMin"));

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
}

// A level config.ini holds outside the options shows none; the options still take only one.
TEST(ChSettingsWindow, ChoiceOutsideTheOptionsShowsNoneAndTheOptionsStayExclusive) {
  SettingsRig rig;
  rig.config.Performance = Value::Text("x");
  FakeMessageBox messages;
  FakeFileSystem files;
  QPointer<ChSettings> slot;
  const std::unique_ptr<ChSettings> dialog(
      ChSettings::ShowOrRaise(slot, rig.Services(messages, files), {}, nullptr));
  const auto options = dialog->findChildren<QAbstractButton*>(QRegularExpression("^OptPf_"));
  ASSERT_EQ(options.size(), 3);
  EXPECT_EQ(options[0]->group()->checkedId(), -1);
  options[0]->click();
  options[2]->click();
  EXPECT_EQ(std::tuple(options[0]->isChecked(), options[0]->group()->checkedId()),
            std::tuple(false, 2));
}

}  // namespace
}  // namespace tarnwell::testing
