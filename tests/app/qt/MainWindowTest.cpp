// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <QFontInfo>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QTest>

#include "ProgramFakes.h"
#include "SettingsRig.h"
#include "TestFiles.h"
#include "app/Mainform.h"
#include "app/qt/MainWindow.h"
#include "platform/posix/PosixFileSystem.h"
#include "platform/qt/DesignFonts.h"
#include "platform/qt/QtMessageBox.h"
#include "platform/qt/QtRegional.h"
#include "posix/TempDir.h"
#include "qt/QtTestApplication.h"
#include "settings/qt/ChSettings.h"

namespace tarnwell::testing {
namespace {

using namespace std::string_literals;

// A screen wide enough for the dialog beside the main window, with frames; a decimal comma.
class WideScreen : public QtTestApplication {
  void SetUp() override {
    qputenv("LC_ALL", "de_DE.UTF-8");
    WriteFile(dir_ / "screen.json",
              R"({"windowFrameMargins": true, "screens": [{"name": "wide", "x": 0, "y": 0,
                  "width": 1920, "height": 1080, "logicalDpi": 96, "dpr": 1}]})");
    qputenv("QT_QPA_PLATFORM", ("offscreen:configfile=" + dir_ / "screen.json").c_str());
    QtTestApplication::SetUp();
    RegisterDesignFonts();
  }
  TempDir dir_;
};

[[maybe_unused]] const auto* const kQt = ::testing::AddGlobalTestEnvironment(new WideScreen);

// The program's wiring around a real window on fakes, with config.ini holding `settings`
// ("Language=0;...", none without).
struct Program : ProgramFakes {
  explicit Program(const std::string& settings = "") : ProgramFakes(ConfigOf(settings)) {
    window.SetForm(&form);
    window.SetOnSetup([this] { ChSettings::ShowOrRaise(dialog, this->settings, {}, &window); });
    EXPECT_TRUE(form.StartUp());
    window.show();
    EXPECT_TRUE(QTest::qWaitForWindowExposed(&window));
  }
  // The cog opens the settings window, `typed` replaces the text of box `name`, Apply is pressed.
  void Apply(const char* name, const char* typed) {
    QTest::mouseClick(window.TheSetup(), Qt::LeftButton);
    dialog->findChild<QLineEdit*>(name)->selectAll();
    QTest::keyClicks(dialog->findChild<QLineEdit*>(name), typed);
    QTest::mouseClick(dialog->findChild<QPushButton*>("Apply"), Qt::LeftButton);
  }
  MainWindow window;
  Mainform form{Services(SystemRegional()), window, Version{1, 0, 2}};
  FakeProcessStarter processes;
  const SettingsServices settings = form.Settings(processes);
  QPointer<ChSettings> dialog;
};

// Recording from start-up, each timer at its interval (the display's by the performance level,
// Low); the Stop box stops and starts timers and port; saved once on closing, with the speed's
// index the port opened with.
TEST(MainWindowProgram, StartsRecordingStopsAndSavesItsSettingsOnce) {
  Program p("LogEnable=1;RecordOnStartup=1;Language=0;WindowWidth=9000;BaudIndex=12;Performance=0");
  EXPECT_EQ(
      std::tuple(p.window.windowTitle().toStdString(), p.messages.shown.size(), p.form.Loading(),
                 p.record.interval, p.port.open, p.refresh.Running(), p.stability.Running(),
                 p.form.Recording(), p.port.maxWait, p.refresh.interval, p.stability.interval),
      std::tuple("Vornel-> Tarnwell v1.0.2", 0u, false, 100, true, true, true, true, 8, 333, 100));
  const auto on = [&] {
    p.window.App_Stop()->click();
    return std::vector{p.port.open, p.refresh.enabled, p.record.enabled};
  };
  EXPECT_EQ(on(), (std::vector{false, false, false}));
  // Applied while stopped, settings wait for the box to be unticked. A device gone then is named,
  // and the program runs on as the box says, through an Apply too.
  p.Apply("CommSel", "2");
  EXPECT_EQ(std::pair(p.port.open, p.record.Running()), std::pair(false, false));
  EXPECT_EQ(on(), (std::vector{true, true, true}));
  on(), p.port.ports.clear();
  EXPECT_EQ(on(), (std::vector{false, true, true}));
  p.Apply("NofSamples", "300");
  EXPECT_EQ(std::tuple(p.port.commPort, p.record.Running(), p.settings.history.UB(),
                       p.messages.shown.size(), p.messages.shown[1].text),
            std::tuple(2, true, 300, 2,
                       "The serial port cannot be opened or used.  8002:Invalid port number"));
  p.window.close();
  const std::string saved = p.files.files["/prog/config.ini"];
  EXPECT_EQ(SplitLines(saved).at(35), "9000' Window Width. Def:7290 ");
  EXPECT_EQ(SplitLines(saved).at(ConfigLineOf("BaudIndex") - 1).substr(0, 2), "3'");
  EXPECT_EQ(std::vector({p.port.open, p.refresh.enabled}), std::vector({false, false}));
  p.window.ResizeWindow(8005, 6000);
  p.form.ShutDown();
  EXPECT_EQ(p.files.files["/prog/config.ini"], saved);
}

// The shutdown says whether everything was saved: a config.ini not written counts, and so does a
// record that lost lines, also when config.ini was written.
TEST(MainWindowProgram, AShutdownTellsWhetherEverythingWasSaved) {
  Program saved("LogTime=0;LogEnable=1;RecordOnStartup=1;Language=0");
  saved.Frames();
  Program readOnly("Language=0");
  readOnly.files.readOnly = true;
  Program lost("LogTime=0;LogEnable=1;RecordOnStartup=1;Language=0;WindowWidth=9000");
  lost.files.appendsFull = true;
  lost.Frames();
  lost.files.files.erase("/prog/config.ini");
  EXPECT_EQ(std::tuple(saved.form.ShutDown(), readOnly.form.ShutDown(), lost.form.ShutDown()),
            std::tuple(true, false, false));
  EXPECT_EQ(SplitLines(lost.files.files["/prog/config.ini"]).at(35),
            "9000' Window Width. Def:7290 ");
}

// Whatever opens the port, start-up, the end of a suspension or Apply, the characters before the
// first end character after it are not a frame: nothing of them reaches the record.
TEST(MainWindowProgram, NoOpeningRecordsTheCharactersBeforeItsFirstEnd) {
  Program p("LogTime=0;LogEnable=1;LogIncremental=0;Language=0;RecordOnStartup=1;Performance=2");
  // Records every reading from start-up, the record timer stands; the display's runs at High.
  EXPECT_EQ(std::pair(p.record.interval, p.refresh.interval), std::pair(0, 50));
  p.port.Receive("45 g  \r12.345\r");
  p.window.App_Stop()->click(), p.window.App_Stop()->click();
  p.port.Receive("5.66\r7.5\r");
  p.Apply("CommSel", "1");
  p.port.Receive("0.92\r-3\r");
  std::string values;
  for (const auto& line :
       Split(p.files.files["/prog/Log/" + p.settings.config.LogFileName], "\r\n"))
    values += Split(line, "\t").at(1) + " ";
  EXPECT_EQ(std::pair(p.port.opens, values), std::pair(3, std::string("12,345 7,5 -3 ")));
}

// The reading in large bright digits with a decimal comma; renewed, the default window size.
TEST(MainWindowProgram, TheReadingIsDrawnInLargeDigitsWithTheRegionalMark) {
  Program p;
  const auto ini = Split(p.files.files["/prog/config.ini"], "\r\n");
  EXPECT_EQ(ini.at(35).substr(0, 5) + ini.at(36).substr(0, 5), "7290'6300'");
  p.Frames();
  const auto pixels = [&](const char* control, const std::function<bool(QRgb)>& counted) {
    const QImage shot = p.window.findChild<QWidget*>(control)->grab().toImage();
    int n = 0;
    for (int i = 0; i < shot.width() * shot.height(); ++i)
      n += counted(shot.pixel(i % shot.width(), i / shot.width()));
    return n;
  };
  EXPECT_EQ(p.window.Current()->text(), "12,34");
  EXPECT_EQ(p.window.grab().toImage().pixel(2, 2), qRgb(40, 40, 40));  // the dark background
  // Five characters 54 points high fill thousands of pixels; the labels' text is light.
  EXPECT_GT(pixels("Current", [](QRgb c) { return c == qRgb(255, 128, 0); }), 2000);
  EXPECT_GT(pixels("LabNofDat", [](QRgb c) { return qGray(c) > 200; }), 0);
  EXPECT_EQ(p.port.maxWait, p.refresh.interval);
}

// With one sample, or none read from config.ini, every reading shows; frames that hold none keep
// the digits bright no longer than frames that do not come.
TEST(MainWindowProgram, EveryReadingShowsWithOneSampleAndOnlyReadingsKeepTheDigitsBright) {
  for (const char* count : {"1", "0"}) {
    Program p("NofSamples="s + count);
    QStringList shown;
    // The first frame after the opening is cut and goes.
    for (const char* frame : {"34\r+0012.34\r", "+0056.78\r", "OL\r"})
      p.port.Receive(frame), p.refresh.Fire(), shown << p.window.Current()->text();
    for (int tick = 0; tick < 31; ++tick) p.port.Receive("OL\r"), p.refresh.Fire();
    EXPECT_EQ(shown << p.window.RangeofChange()->text(),
              QStringList({"12,34", "56,78", "56,78", "+/- 0,00"}));
    EXPECT_EQ(p.window.Current()->palette().color(QPalette::WindowText), QColor(128, 64, 0));
  }
}

// Frames with a status first, read with line 5 set by hand: Apply keeps it, and the slots that
// 500 samples add continue the trace at the latest reading.
TEST(MainWindowProgram, ApplyKeepsTheOmittedCharactersAndMoreSamplesContinueTheTrace) {
  Program p("NofChars=17;OmitCh=7");
  for (int i = 0; i < 150; ++i) p.port.Receive("ST,GS,+0500.000 kg\r\n");
  p.Apply("NofSamples", "500");
  for (int i = 0; i < 2; ++i) p.port.Receive("ST,GS,+0500.250 kg\r\n");
  p.refresh.Fire();
  EXPECT_EQ(p.window.Current()->text() + " " + p.window.RangeofChange()->text(),
            "500,250 +/- 0,125");
}

// Only in advanced mode is there a zoom button; its press switches zooming on and off, with its
// pointer.
TEST(MainWindowProgram, TheZoomButtonSwitchesZoomingWithItsPointer) {
  {
    Program plain;
    EXPECT_FALSE(plain.window.findChild<QPushButton*>("CmdZoomIn")->isVisibleTo(&plain.window));
  }
  Program p("AdvancedMode=52814");
  auto* zoom = p.window.findChild<QPushButton*>("CmdZoomIn");
  EXPECT_TRUE(zoom->isVisibleTo(&p.window));
  std::vector<int> shapes;
  for (int i = 0; i < 2; ++i)
    QTest::mouseClick(zoom, Qt::LeftButton), shapes.push_back(p.window.cursor().shape());
  EXPECT_EQ(shapes, (std::vector<int>{Qt::SizeAllCursor, Qt::ArrowCursor}));
}

// True when the top or bottom row of `area` in the picture of `w` holds `ink`: a text runs over.
bool InkOnTopOrBottom(QWidget* w, const QRect& area, bool (*ink)(QRgb)) {
  const QImage shot = w->grab().toImage();
  for (int x = area.left(); x <= area.right(); ++x)
    if (ink(shot.pixel(x, area.top())) || ink(shot.pixel(x, area.bottom()))) return true;
  return false;
}

// Every visible control inside its parent and clear of its siblings in every language and size,
// in the design's faces; the reading's digits and the graph's value labels are whole.
// By design the reading's label reaches above its panel (its digits sit at its bottom), the span
// and rate labels are taller than the room between them, and the smallest value panel spans both.
TEST(MainWindowLayout, EveryControlLiesInsideItsParentClearOfItsSiblings) {
  ASSERT_EQ(QFontInfo(QFont("Tahoma")).family(), "Tahoma") << "fonts-wine is not installed";
  std::string misplaced;
  for (const char* language : {"0", "1", "2", "3", "4", "5", "6", "255"}) {
    for (const std::string size : {"1000", "25000"}) {
      Program p("AdvancedMode=52814;LineBlue=0;Language="s + language + ";WindowWidth=" + size +
                ";WindowHeight=" + size);
      p.Frames();
      p.port.Receive("-123456.7\r"), p.refresh.Fire();
      const std::string at = language + (" " + size) + " ";
      QWidget* box = p.window.WeighBox();
      // The digits orange, the value labels white over a trace without blue.
      if (InkOnTopOrBottom(box, p.window.Current()->geometry() & box->rect(),
                           [](QRgb c) { return qRed(c) - qBlue(c) > 60; }) ||
          InkOnTopOrBottom(p.window.Graph(), p.window.Graph()->rect(),
                           [](QRgb c) { return qBlue(c) > 100; }))
        misplaced += at + "text cut\n";
      QStringList designed{"LabNofDat RangeofChange"};
      if (size == "1000")
        designed += {"LabNofDat WeighBox", "RangeofChange WeighBox", "WeighBox picLogo"};
      const auto where = [&](QWidget* w) {
        return w->geometry().adjusted(0, w == p.window.Current() ? std::max(0, -w->y()) : 0, 0, 0);
      };
      QWidgetList parents = p.window.findChildren<QWidget*>();
      for (QWidget* parent : parents << &p.window) {
        QWidgetList shown;
        for (QWidget* w : parent->findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
          if (w->isVisibleTo(&p.window)) shown << w;
        for (int i = 0; i < shown.size(); ++i) {
          if (!parent->rect().contains(where(shown[i])))
            misplaced += at + shown[i]->objectName().toStdString() + " outside\n";
          for (int j = i + 1; j < shown.size(); ++j) {
            QStringList two{shown[i]->objectName(), shown[j]->objectName()};
            two.sort();
            if (where(shown[i]).intersects(where(shown[j])) && !designed.contains(two.join(' ')))
              misplaced += at + two.join(' ').toStdString() + " overlap\n";
          }
        }
      }
    }
  }
  EXPECT_EQ(misplaced, "");
}

TEST(MainWindowStates, EveryStoredStateIsTakenAndTheRestoredSizeKept) {
  MainWindow window;
  window.show();
  std::vector<double> seen;
  for (int state : {2, 1, 0}) {
    seen.push_back(window.SetWindowState(static_cast<WindowMode>(state)));
    if (state == 2) window.ResizeWindow(9000, 6000);  // sized while maximised: the restored size
    seen.insert(seen.end(), {double(static_cast<int>(window.WindowState())), window.WindowWidth(),
                             window.WindowHeight()});
  }
  EXPECT_EQ(seen, (std::vector<double>{1, 2, 9000, 6000, 1, 1, 9000, 6000, 1, 0, 9000, 6000}));
  // Maximised with no size stored for the restore, it tells the size it has.
  window.SetWindowState(WindowMode(2));
  EXPECT_EQ(std::pair(window.WindowWidth(), window.WindowHeight()),
            std::pair(double(window.frameGeometry().width() * 15),
                      double(window.frameGeometry().height() * 15)));
}

struct FakeWindow : ResizableWindow {
  double w = 0, h = 0, minimized = 0, resizes = 0;
  bool Minimized() const override { return minimized != 0; }
  double Width() const override { return w; }
  double Height() const override { return h; }
  void SetWidth(double v) override { w = v, ++resizes; }
  void SetHeight(double v) override { h = v, ++resizes; }
};

// Each row: the window's size and state before, then laid out, the window's size and resize
// count, graph width and height, x axis top and width, value box left and top.
TEST(ResizeRules, GraphFillsTheRoomPanelStaysBottomRightAndTheMinimumHolds) {
  const std::vector<double> rows[] = {
      {3674, 3674, 0, 1, 8005, 3825, 2, 7630, 1700, 1850, 7630, 755, 1975},
      {9000, 3000, 0, 1, 9000, 3825, 1, 8625, 1700, 1850, 8625, 1750, 1975},
      {8005, 3675, 0, 1, 8005, 3675, 0, 7630, 1550, 1700, 7630, 755, 1825},
      {100, 100, 1, 0, 100, 100, 0, 6615, 3975, 45, 6925, -240, 4320},  // minimised: nothing moves
  };
  for (const auto& row : rows) {
    FakeWindow win;
    win.w = row[0], win.h = row[1], win.minimized = row[2];
    MainLayout l;
    const double ok = ResizeRules::Apply(win, l);
    EXPECT_EQ((std::vector{row[0], row[1], row[2], ok, win.w, win.h, win.resizes, l.graphWidth,
                           l.graphHeight, l.xaxisTop, l.xaxisWidth, l.weighBoxLeft, l.weighBoxTop}),
              row);
  }
}

// The cog opens the dialog beside the main window, Apply's boxes over it; Esc unloads it, a held
// Esc does not.
TEST(SettingsDialog, CogOpensItBesideWithMessagesOverItAndEscUnloadsIt) {
  SettingsRig rig;
  TempDir folder;
  QtMessageBox messages("Tarnwell");
  PosixFileSystem files(folder.Path());
  const SettingsServices services = rig.Services(messages, files);
  MainWindow main;
  QPointer<ChSettings> slot;
  messages.SetParent(&main);
  main.SetOnSetup([&] { ChSettings::ShowOrRaise(slot, services, {}, &main); });
  main.move(40, 40), main.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&main));
  const auto cog = [&] {
    QTest::mouseClick(main.TheSetup(), Qt::LeftButton);
    return slot.data();
  };
  const auto port = [](ChSettings* dialog) { return dialog->findChild<QLineEdit*>("CommSel"); };
  ChSettings* first = cog();
  ASSERT_TRUE(QTest::qWaitForWindowActive(first));
  EXPECT_EQ(first->frameGeometry().topLeft(), main.frameGeometry().topRight() + QPoint(1, 0));
  port(first)->selectAll();
  QTest::keyClicks(port(first), QStringLiteral("150"));
  // The box comes up once Apply has returned, and waits over the dialog.
  messages.SetWaiting(false);
  QTest::mouseClick(first->findChild<QPushButton*>(QStringLiteral("Apply")), Qt::LeftButton);
  QWidget* box = nullptr;
  ASSERT_TRUE(QTest::qWaitFor([&] { return (box = QApplication::activeModalWidget()); }));
  EXPECT_EQ(box->parentWidget(), first);
  QTest::keyClick(box, Qt::Key_Enter);
  port(first)->setFocus();
  QTest::keyClicks(port(first), QStringLiteral("7"));
  QTest::keyClick(port(first), Qt::Key_Escape);
  EXPECT_FALSE(first->isVisible());
  // The operator is quicker than the deletion of the closed dialog.
  ChSettings* second = cog();
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  ASSERT_FALSE(slot.isNull());
  EXPECT_EQ(std::pair(second->isVisible(), port(second)->text()), std::pair(true, QString("1")));
  // A held Esc: a release and a press at one time.
  for (QEvent::Type type : {QEvent::KeyRelease, QEvent::KeyPress}) {
    QKeyEvent held(type, Qt::Key_Escape, Qt::NoModifier);
    held.setTimestamp(5000);
    QApplication::sendEvent(port(second), &held);
  }
  EXPECT_TRUE(second->isVisible());
  delete slot.data();
}

}  // namespace
}  // namespace tarnwell::testing
