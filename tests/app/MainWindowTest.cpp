// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include "QtTestApplication.h"
#include "SettingsRig.h"
#include "app/qt/MainWindow.h"
#include "platform/qt/QtFileSystem.h"
#include "platform/qt/QtMessageBox.h"
#include "settings/qt/ChSettings.h"

namespace tarnwell::testing {
namespace {

// A screen wide enough for the dialog beside the main window, with window frames.
class WideScreen : public QtTestApplication {
  void SetUp() override {
    QFile json(config_.filePath("screen.json"));
    ASSERT_TRUE(json.open(QIODevice::WriteOnly));
    json.write(R"({"windowFrameMargins": true, "screens": [{"name": "wide", "x": 0, "y": 0,
        "width": 1920, "height": 1080, "logicalDpi": 96, "dpr": 1}]})");
    json.close();
    qputenv("QT_QPA_PLATFORM", "offscreen:configfile=" + json.fileName().toLocal8Bit());
    QtTestApplication::SetUp();
  }
  QTemporaryDir config_;
};

[[maybe_unused]] const auto* const kQt = ::testing::AddGlobalTestEnvironment(new WideScreen);

class MainWindowTest : public ::testing::Test, public SettingsRig {
 protected:
  void SetUp() override {
    messages_.SetParent(&main_);
    main_.SetOnSetup([this] { ChSettings::ShowOrRaise(slot_, services_, {}, &main_); });
    main_.move(40, 40);
    main_.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&main_));
  }
  void TearDown() override { delete slot_.data(); }

  ChSettings* PressCog() {
    QTest::mouseClick(main_.TheSetup(), Qt::LeftButton);
    return slot_.data();
  }
  QLineEdit* CommSel(ChSettings* dialog) {
    return dialog->findChild<QLineEdit*>(QStringLiteral("CommSel"));
  }

  QTemporaryDir folder_;
  QtMessageBox messages_{"Tarnwell"};
  QtFileSystem files_{folder_.path().toStdString()};
  const SettingsServices services_ = Services(messages_, files_);
  MainWindow main_;
  QPointer<ChSettings> slot_;
};

// The cog opens the dialog beside the main window, not over it; Apply's messages stand over the
// dialog; Esc unloads it and the cog loads it afresh, which a held Esc does not close.
TEST_F(MainWindowTest, CogOpensTheDialogBesideWithMessagesOverItAndEscUnloadsIt) {
  ChSettings* first = PressCog();
  ASSERT_TRUE(QTest::qWaitForWindowActive(first));
  const QRect mainFrame = main_.frameGeometry();
  EXPECT_EQ(first->frameGeometry().topLeft(), QPoint(mainFrame.right() + 1, mainFrame.top()));
  CommSel(first)->selectAll();
  QTest::keyClicks(CommSel(first), QStringLiteral("150"));
  // The box comes up once Apply has returned, and waits over the dialog.
  messages_.SetWaiting(false);
  QTest::mouseClick(first->findChild<QPushButton*>(QStringLiteral("Apply")), Qt::LeftButton);
  QWidget* box = nullptr;
  ASSERT_TRUE(QTest::qWaitFor([&] { return (box = QApplication::activeModalWidget()); }));
  EXPECT_EQ(box->parentWidget(), first);
  QTest::keyClick(box, Qt::Key_Enter);
  CommSel(first)->setFocus();
  QTest::keyClicks(CommSel(first), QStringLiteral("7"));
  QTest::keyClick(CommSel(first), Qt::Key_Escape);
  EXPECT_FALSE(first->isVisible());
  // The operator is quicker than the deletion of the closed dialog.
  ChSettings* second = PressCog();
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  ASSERT_FALSE(slot_.isNull());
  EXPECT_TRUE(second->isVisible());
  EXPECT_EQ(CommSel(second)->text(), "1");
  // An Esc still held (a release and a press at one time, as a key repeats) leaves it open; the
  // text box keeps the release.
  for (QEvent::Type type : {QEvent::KeyRelease, QEvent::KeyPress}) {
    QKeyEvent held(type, Qt::Key_Escape, Qt::NoModifier);
    held.setTimestamp(5000);
    QApplication::sendEvent(CommSel(second), &held);
  }
  EXPECT_TRUE(second->isVisible());

  const QRect screen(0, 0, 1000, 700);
  const QSize size(400, 500);
  // Room on the left only; on neither side the least covered side wins.
  EXPECT_EQ(ChSettings::BesidePosition(QRect(500, 100, 450, 300), size, screen), QPoint(100, 100));
  EXPECT_EQ(ChSettings::BesidePosition(QRect(200, 400, 450, 300), size, screen), QPoint(600, 200));
  EXPECT_EQ(ChSettings::BesidePosition(QRect(250, 0, 700, 300), size, screen), QPoint(0, 0));
}

TEST_F(MainWindowTest, MainWindowTakesEveryStoredStateAndKeepsItsRestoredSize) {
  EXPECT_FALSE(main_.SetWindowState(3));
  std::vector<double> seen;
  for (int state : {2, 1, 0}) {
    ASSERT_TRUE(main_.SetWindowState(state));
    // Sized while maximised: the size is for the restored window, and is what config.ini keeps.
    if (state == 2) main_.ResizeWindow(9000, 6000);
    seen.insert(seen.end(),
                {double(main_.WindowState()), main_.WindowWidth(), main_.WindowHeight()});
  }
  EXPECT_EQ(seen, (std::vector<double>{2, 9000, 6000, 1, 9000, 6000, 0, 9000, 6000}));
}

// The reading stands in large digits, in the colour the tick gives it.
TEST_F(MainWindowTest, TheReadingIsDrawnInLargeDigitsInItsColour) {
  const auto orange = [this] {
    const QImage shot = main_.Current()->grab().toImage();
    int n = 0;
    for (int i = 0; i < shot.width() * shot.height(); ++i)
      n += shot.pixel(i % shot.width(), i / shot.width()) == qRgb(255, 128, 0);
    return n;
  };
  main_.SetCurrentColor(Rgb{255, 128, 0});
  main_.SetCurrentCaption("-1234.56");
  EXPECT_GT(orange(), 3000);  // eight characters 54 points high fill thousands of pixels
  main_.SetCurrentColor(Rgb{128, 64, 0});
  EXPECT_EQ(orange(), 0);
}

}  // namespace
}  // namespace tarnwell::testing
