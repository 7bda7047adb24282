// SPDX-License-Identifier: GPL-3.0-or-later
// The main window and the settings dialog as the operator meets them: the stored window states
// and sizes, the dialog opened by the cog, closed with Esc, placed beside the main window, its
// messages over it.
#include <gtest/gtest.h>

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPointer>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include "FakeFileSystem.h"
#include "FakeMessageBox.h"
#include "SettingsRig.h"
#include "TestFiles.h"
#include "app/Mainform.h"
#include "app/qt/MainWindow.h"
#include "platform/qt/QtFileSystem.h"
#include "platform/qt/QtMessageBox.h"
#include "settings/qt/ChSettings.h"

namespace tarnwell::testing {
namespace {

// A screen wide enough for the dialog beside the main window, and window frames as a desktop
// draws them.
class WideScreen : public ::testing::Environment {
 public:
  void SetUp() override {
    ASSERT_TRUE(config_.isValid());
    QFile json(config_.filePath("screen.json"));
    ASSERT_TRUE(json.open(QIODevice::WriteOnly));
    json.write(R"({"windowFrameMargins": true, "screens": [{"name": "wide", "x": 0, "y": 0,
        "width": 1920, "height": 1080, "logicalDpi": 96, "dpr": 1}]})");
    json.close();
    qputenv("QT_QPA_PLATFORM", "offscreen:configfile=" + json.fileName().toLocal8Bit());
    app_ = new QApplication(argc_, argv_);
  }
  void TearDown() override { delete app_; }

 private:
  QTemporaryDir config_;
  int argc_ = 1;
  char name_[9] = "app_test";
  char* argv_[2] = {name_, nullptr};
  QApplication* app_ = nullptr;
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

  QTemporaryDir folder_;
  QtMessageBox messages_{"Tarnwell"};
  QtFileSystem files_{folder_.path().toStdString()};
  const SettingsServices services_ = Services(messages_, files_);
  MainWindow main_;
  QPointer<ChSettings> slot_;
};

TEST_F(MainWindowTest, EscUnloadsTheDialogAndTheCogLoadsItAfresh) {
  ChSettings* first = PressCog();
  ASSERT_NE(first, nullptr);
  auto* commSel = first->findChild<QLineEdit*>(QStringLiteral("CommSel"));
  commSel->setFocus();
  QTest::keyClicks(commSel, QStringLiteral("7"));
  QTest::keyClick(commSel, Qt::Key_Escape);
  EXPECT_FALSE(first->isVisible());
  // The operator is quicker than the deletion of the closed dialog.
  ChSettings* second = PressCog();
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  ASSERT_FALSE(slot_.isNull());
  EXPECT_TRUE(second->isVisible());
  EXPECT_EQ(second->findChild<QLineEdit*>(QStringLiteral("CommSel"))->text(), "1");
}

TEST_F(MainWindowTest, StandsBesideTheMainWindowAndNotOverIt) {
  ChSettings* dialog = PressCog();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(dialog));
  const QRect mainFrame = main_.frameGeometry(), dialogFrame = dialog->frameGeometry();
  EXPECT_FALSE(mainFrame.intersects(dialogFrame)) << "dialog over the main window";
  EXPECT_EQ(dialogFrame.left(), mainFrame.right() + 1);
  EXPECT_EQ(dialogFrame.top(), mainFrame.top());

  const QRect screen(0, 0, 1000, 700);
  const QSize size(400, 500);
  // Room on the left only; on neither side the least covered side wins.
  EXPECT_EQ(ChSettings::BesidePosition(QRect(500, 100, 450, 300), size, screen), QPoint(100, 100));
  EXPECT_EQ(ChSettings::BesidePosition(QRect(200, 400, 450, 300), size, screen), QPoint(600, 200));
  EXPECT_EQ(ChSettings::BesidePosition(QRect(250, 0, 700, 300), size, screen), QPoint(0, 0));
}

TEST_F(MainWindowTest, ApplyMessagesStandOverTheDialog) {
  ChSettings* dialog = PressCog();
  ASSERT_TRUE(QTest::qWaitForWindowActive(dialog));
  auto* commSel = dialog->findChild<QLineEdit*>(QStringLiteral("CommSel"));
  commSel->selectAll();
  QTest::keyClicks(commSel, QStringLiteral("150"));
  QWidget* over = nullptr;
  QTimer::singleShot(0, [&] {
    QWidget* box = QApplication::activeModalWidget();
    if (!box) return;
    over = box->parentWidget();
    QTest::keyClick(box, Qt::Key_Enter);
  });
  QTest::mouseClick(dialog->findChild<QPushButton*>(QStringLiteral("Apply")), Qt::LeftButton);
  EXPECT_EQ(over, dialog);
}

TEST_F(MainWindowTest, MainWindowTakesEveryStoredStateAndKeepsItsRestoredSize) {
  EXPECT_FALSE(main_.SetWindowState(3));
  ASSERT_TRUE(main_.SetWindowState(2));
  EXPECT_EQ(main_.WindowState(), 2);
  // Sized while maximised: the size is for the restored window, and is what config.ini keeps.
  main_.ResizeWindow(9000, 6000);
  EXPECT_EQ(main_.WindowWidth(), 9000);
  EXPECT_EQ(main_.WindowHeight(), 6000);
  ASSERT_TRUE(main_.SetWindowState(1));
  EXPECT_EQ(main_.WindowState(), 1);
  ASSERT_TRUE(main_.SetWindowState(0));
  EXPECT_EQ(main_.WindowState(), 0);
  EXPECT_NEAR(main_.WindowWidth(), 9000, 15);
  EXPECT_NEAR(main_.WindowHeight(), 6000, 15);
}

TEST_F(MainWindowTest, LabelsBelowTheGraphFollowTheirCaptions) {
  auto* range = main_.findChild<QLabel*>(QStringLiteral("RangeofChange"));
  for (const char* caption : {"+/- 6.9", "+/- 0.5", "+/- 0.5"}) {
    main_.SetRangeOfChangeCaption(caption);
    EXPECT_EQ(range->text(), caption);
  }
}

TEST_F(MainWindowTest, TheReadingIsDrawnInLargeDigits) {
  main_.SetCurrentColor(Rgb{255, 128, 0});
  main_.SetCurrentCaption("-1234.56");
  const QImage shot = main_.Current()->grab().toImage();
  int orange = 0;
  for (int y = 0; y < shot.height(); ++y) {
    for (int x = 0; x < shot.width(); ++x) orange += shot.pixel(x, y) == qRgb(255, 128, 0);
  }
  // Eight characters 54 points high fill thousands of pixels.
  EXPECT_GT(orange, 3000);

  // Readings already drawn are copied in: the picture a plain label draws, for the right text
  // and colour.
  QLabel plain("-1234.56", main_.Current()->parentWidget());
  plain.setGeometry(main_.Current()->geometry());
  plain.setFont(main_.Current()->font());
  plain.setPalette(main_.Current()->palette());
  plain.setAlignment(main_.Current()->alignment());
  EXPECT_EQ(shot, plain.grab().toImage());
  main_.SetCurrentCaption("-1234.57");
  EXPECT_NE(main_.Current()->grab().toImage(), shot);
  main_.SetCurrentCaption("-1234.56");
  EXPECT_EQ(main_.Current()->grab().toImage(), shot);
  main_.SetCurrentColor(Rgb{0, 200, 0});
  EXPECT_NE(main_.Current()->grab().toImage(), shot);
}

// The zoom button of the advanced mode: the left button switches the zoom pointer, the right
// one fits the range to the readings.
TEST_F(MainWindowTest, ZoomButtonTakesBothMouseButtons) {
  FakeFileSystem fakeFiles;
  FakeMessageBox shown;
  FakeTimer timer1, motion;
  fakeFiles.files["/prog/std.lng"] = LanguageFileText("Port error");
  fakeFiles.files["/prog/config.ini"] = ConfigIniText({{1, "52814"}, {19, "255"}});
  Mainform form(Platform{serial, clock, fakeFiles, shown, regional, timer1, timerLog, motion},
                main_, Version{1, 0, 0});
  main_.SetForm(&form);
  ASSERT_TRUE(form.Form_Load());
  auto* zoom = main_.findChild<QPushButton*>(QStringLiteral("CmdZoomIn"));
  ASSERT_TRUE(zoom && zoom->isVisible());
  QTest::mouseClick(zoom, Qt::LeftButton);
  EXPECT_EQ(main_.cursor().shape(), Qt::SizeAllCursor);
  QTest::mouseClick(zoom, Qt::LeftButton);
  EXPECT_EQ(main_.cursor().shape(), Qt::ArrowCursor);
  QTest::mouseClick(zoom, Qt::RightButton);
  EXPECT_EQ(main_.cursor().shape(), Qt::ArrowCursor);
  EXPECT_EQ(form.Settings(processes).config.GraphMax, 0);  // the empty trace's highest reading
  main_.SetForm(nullptr);
}

}  // namespace
}  // namespace tarnwell::testing
