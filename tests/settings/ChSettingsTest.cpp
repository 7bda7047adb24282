// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

#include "QtTestApplication.h"
#include "SettingsFixture.h"
#include "platform/SerialDevices.h"
#include "settings/qt/ChSettings.h"

namespace tarnwell::testing {
namespace {

template <typename W>
W* Child(QWidget* dialog, const char* name) {
  W* w = dialog->findChild<W*>(QString::fromLatin1(name));
  EXPECT_NE(w, nullptr) << name;
  return w;
}

// On the box itself: a check box or option button takes clicks only on its box and caption.
void Tick(QAbstractButton* button) {
  QTest::mouseClick(button, Qt::LeftButton, {}, QPoint(6, button->height() / 2));
}

void Retype(QLineEdit* edit, const char* text) {
  edit->setFocus();
  QTest::keyClick(edit, Qt::Key_A, Qt::ControlModifier);
  QTest::keyClick(edit, Qt::Key_Delete);
  QTest::keyClicks(edit, QString::fromLatin1(text));
}

// One USB adapter, on the number 33 maps to.
struct OneAdapter : SerialDevices {
  std::vector<int> PortEntries() const override { return {}; }
  std::string PortEntryTarget(int) const override { return {}; }
  bool Present(const std::string& d) const override { return d == "/dev/ttyUSB0"; }
  std::string UsbName(const std::string& d) const override {
    return Present(d) ? "FTDI FT232R USB UART" : "";
  }
  std::vector<std::string> Devices() const override { return {"/dev/ttyUSB0"}; }
};

[[maybe_unused]] const auto* const kQt = ::testing::AddGlobalTestEnvironment(new QtTestApplication);

TEST(ChSettingsWindow, TypedSettingsReachTheSettingsAndReopenedPort) {
  SettingsSession session;
  AppConfig& config = session.config;
  FakeSerialPort& serial = session.serial;
  FakeMessageBox& messages = session.messages;
  const SettingsServices services = session.Services(messages, session.files);
  std::vector<QWidget*> textsApplied;
  const ChSettings::ApplyTexts applyTexts = [&](QWidget* w) { textsApplied.push_back(w); };

  QPointer<ChSettings> slot;
  const OneAdapter devices;
  ChSettings* dialog = ChSettings::ShowOrRaise(slot, services, applyTexts, nullptr, &devices);
  ASSERT_TRUE(dialog);
  ASSERT_TRUE(QTest::qWaitForWindowExposed(dialog));
  EXPECT_EQ(textsApplied, std::vector<QWidget*>{dialog});
  EXPECT_FALSE(dialog->isModal());
  EXPECT_EQ(dialog->parent(), nullptr);
  EXPECT_EQ(Child<QComboBox>(dialog, "BaudSel")->count(), 11);
  EXPECT_FALSE(Child<QComboBox>(dialog, "DevType")->isVisible());

  auto* commSel = Child<QLineEdit>(dialog, "CommSel");
  auto* preview = Child<QLabel>(dialog, "LabCommSet");
  EXPECT_EQ(commSel->text(), "1");
  EXPECT_EQ(commSel->toolTip(),
            "Serial devices present, by port number:\n33: /dev/ttyUSB0, FTDI FT232R USB UART");
  // The device line follows the typing, in full within its frame.
  auto* device = Child<QLabel>(dialog, "LabRights");
  EXPECT_EQ(device->text(), "/dev/ttyS0: not present");
  Retype(commSel, "33");
  EXPECT_EQ(device->text(), "/dev/ttyUSB0: present, FTDI FT232R USB UART");
  EXPECT_LE(device->fontMetrics().horizontalAdvance(device->text()),
            device->contentsRect().width());
  EXPECT_LE(device->fontMetrics().height(), device->contentsRect().height());
  EXPECT_EQ(preview->text(), "Comm33,9600,8b,n,1s");
  auto* baud = Child<QComboBox>(dialog, "BaudSel");
  baud->setFocus();
  QTest::keyClick(baud, Qt::Key_Down);  // 9600 -> 19200
  EXPECT_EQ(preview->text(), "Comm1, 19200,8b,n,1s");

  Retype(commSel, "2");
  Tick(Child<QCheckBox>(dialog, "Expanded"));
  EXPECT_TRUE(config.Expanded.Equals(session.regional, 0));
  auto* txtMax = Child<QLineEdit>(dialog, "TxtMax");
  EXPECT_TRUE(txtMax->isEnabled());
  Retype(txtMax, "750");
  Retype(Child<QLineEdit>(dialog, "NofSamples"), "300");
  Tick(Child<QCheckBox>(dialog, "SelDatLogEnab"));
  EXPECT_TRUE(config.LogEnable);
  Tick(Child<QRadioButton>(dialog, "LogSet_2"));
  auto* txtMinute = Child<QLineEdit>(dialog, "TxtMinute");
  EXPECT_TRUE(txtMinute->isEnabled());
  Retype(txtMinute, "3");

  QTest::mouseClick(Child<QPushButton>(dialog, "Apply"), Qt::LeftButton);
  EXPECT_TRUE(messages.shown.empty());
  EXPECT_TRUE(serial.open);
  EXPECT_EQ(serial.settings, "19200,n,8,1");
  EXPECT_EQ(session.history.UB(), 300);
  EXPECT_EQ(session.Texts(config.Expanded, config.CommPort, config.LogTime, config.GraphMax,
                          session.writes),
            "0 2 180 750 1");

  // A bad entry is reported and the focus goes to it; the rest is stored all the same.
  auto* txtMin = Child<QLineEdit>(dialog, "TxtMin");
  Retype(txtMin, "abc");
  Retype(commSel, "3");
  QTest::mouseClick(Child<QPushButton>(dialog, "Apply"), Qt::LeftButton);
  ASSERT_EQ(messages.shown.size(), 1u);
  EXPECT_EQ(messages.shown[0].text, "T6");
  EXPECT_EQ(dialog->focusWidget(), txtMin);
  EXPECT_EQ(serial.opens, 2);
  EXPECT_EQ(session.Texts(config.CommPort, session.writes), "3 2");

  // A double click on the caption switches the advanced mode, and nothing else does.
  QTest::mouseDClick(Child<QLabel>(dialog, "Label2"), Qt::LeftButton);
  EXPECT_TRUE(config.AdvancedMode);
  QTest::mouseClick(Child<QLabel>(dialog, "Label2"), Qt::LeftButton);
  EXPECT_TRUE(config.AdvancedMode);
  QTest::mouseDClick(Child<QLabel>(dialog, "Label2"), Qt::LeftButton);
  EXPECT_FALSE(config.AdvancedMode);

  // Enter presses no button, not even the one that has the focus; TheSetup again only brings
  // the open dialog forward; unsaved edits stay.
  Retype(commSel, "9");
  QTest::keyClick(commSel, Qt::Key_Return);
  auto* defaults = Child<QPushButton>(dialog, "Command1");
  defaults->setFocus();
  QTest::keyClick(defaults, Qt::Key_Return);
  EXPECT_EQ(session.Texts(config.CommPort, session.writes), "3 2");
  EXPECT_EQ(ChSettings::ShowOrRaise(slot, services, applyTexts), dialog);
  EXPECT_EQ(textsApplied.size(), 1u);
  EXPECT_EQ(commSel->text(), "9");

  // Cancel unloads it; the next opening loads afresh from the stored settings.
  QTest::mouseClick(Child<QPushButton>(dialog, "Cancel"), Qt::LeftButton);
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  EXPECT_TRUE(slot.isNull());
  dialog = ChSettings::ShowOrRaise(slot, services, applyTexts);
  EXPECT_EQ(Child<QLineEdit>(dialog, "CommSel")->text(), "3");
  EXPECT_EQ(Child<QLineEdit>(dialog, "TxtMinute")->text(), "3");
  delete dialog;
}

}  // namespace
}  // namespace tarnwell::testing
