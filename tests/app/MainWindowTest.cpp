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

#include "FakeClock.h"
#include "FakeFileSystem.h"
#include "FakeMessageBox.h"
#include "FakeSerialPort.h"
#include "FakeTimer.h"
#include "QtTestApplication.h"
#include "SettingsRig.h"
#include "TestFiles.h"
#include "app/Mainform.h"
#include "app/qt/MainWindow.h"
#include "platform/qt/QtFileSystem.h"
#include "platform/qt/QtMessageBox.h"
#include "platform/qt/QtRegional.h"
#include "settings/qt/ChSettings.h"

namespace tarnwell::testing {
namespace {

// A screen wide enough for the dialog beside the main window, with window frames; the regional
// settings of Germany, with a decimal comma.
class WideScreen : public QtTestApplication {
  void SetUp() override {
    qputenv("LC_ALL", "de_DE.UTF-8");
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

// The program's own wiring around a real window, on scripted port, timers, clock and files:
// config.ini with `settings`, the shipped language files, the system's regional settings. Two
// frames have come and the display has been refreshed.
struct Program {
  explicit Program(const std::map<int, std::string>& settings) {
    files.files["/prog/config.ini"] = ConfigIniText(settings);
    for (const char* name : {"en", "tr", "ru", "bg", "fr", "gr", "sp", "std"}) {
      files.files["/prog/" + std::string(name) + ".lng"] =
          ReadFile(TARNWELL_DATA_DIR + std::string("/") + name + ".lng");
    }
    window.SetForm(&form);
    EXPECT_TRUE(form.StartUp());
    window.show();
    EXPECT_TRUE(QTest::qWaitForWindowExposed(&window));
    port.Receive("+0012.34\r+0012.34\r");
    refresh.Fire();
  }
  FakeSerialPort port;
  FakeClock clock;
  FakeFileSystem files;
  FakeMessageBox messages;
  FakeTimer refresh, record, stability;
  MainWindow window;
  Mainform form{
      Platform{port, clock, files, messages, SystemRegional(), refresh, record, stability}, window,
      Version{}};
};

// The reading stands in large digits with the regional decimal mark, bright while frames come.
TEST(MainWindowDisplay, TheReadingIsDrawnInLargeDigitsWithTheRegionalMark) {
  Program p({{19, "0"}});
  const QImage shot = p.window.Current()->grab().toImage();
  int orange = 0;
  for (int i = 0; i < shot.width() * shot.height(); ++i)
    orange += shot.pixel(i % shot.width(), i / shot.width()) == qRgb(255, 128, 0);
  EXPECT_EQ(p.window.Current()->text(), "12,34");
  EXPECT_GT(orange, 2000);  // five characters 54 points high fill thousands of pixels
}

// Every visible control lies inside the window or panel it stands on and clear of its visible
// siblings, in every shipped language, at the smallest size and at a large one, with the zoom
// button of the advanced mode. By design, the reading's label reaches above its panel over the
// sample axis (its digits sit at its bottom, on the panel); the labels of the span and the frame
// rate are taller than the 200 twips between them; at the smallest width the value panel spans
// the labels to its left.
TEST(MainWindowLayout, EveryControlLiesInsideItsParentClearOfItsSiblings) {
  std::string misplaced;
  for (const char* language : {"0", "1", "2", "3", "4", "5", "6", "255"}) {
    for (const char* size : {"1000", "25000"}) {
      Program p({{1, "52814"}, {19, language}, {36, size}, {37, size}});
      QStringList designed{"LabNofDat RangeofChange"};
      if (size == std::string("1000")) {
        designed << "LabNofDat WeighBox"
                 << "RangeofChange WeighBox"
                 << "WeighBox picLogo";
      }
      const auto where = [&](QWidget* w) {
        QRect r = w->geometry();
        if (w == p.window.Current()) r.setTop(std::max(r.top(), 0));
        return r;
      };
      QWidgetList parents = p.window.findChildren<QWidget*>();
      for (QWidget* parent : parents << &p.window) {
        QWidgetList shown;
        for (QWidget* w : parent->findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
          if (w->isVisibleTo(&p.window)) shown << w;
        }
        for (int i = 0; i < shown.size(); ++i) {
          QStringList pair{shown[i]->objectName()};
          if (!parent->rect().contains(where(shown[i]))) pair << "outside";
          for (int j = i + 1; j < shown.size(); ++j) {
            QStringList two{shown[i]->objectName(), shown[j]->objectName()};
            two.sort();
            if (where(shown[i]).intersects(where(shown[j])) && !designed.contains(two.join(' ')))
              pair << "over " + shown[j]->objectName();
          }
          if (pair.size() > 1)
            misplaced +=
                std::string(language) + " " + size + " " + pair.join(' ').toStdString() + "\n";
        }
      }
    }
  }
  EXPECT_EQ(misplaced, "");
}

}  // namespace
}  // namespace tarnwell::testing
