// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/qt/Program.h"

#include <QApplication>
#include <QPointer>
#include <QSocketNotifier>
#include <QTimer>
#include <cstdlib>
#include <functional>

#include "app/Mainform.h"
#include "app/qt/MainWindow.h"
#include "i18n/qt/QtFormTexts.h"
#include "platform/posix/FolderLock.h"
#include "platform/posix/PosixClock.h"
#include "platform/posix/PosixFileSystem.h"
#include "platform/posix/PosixSerialDevices.h"
#include "platform/posix/StopSignals.h"
#include "platform/qt/DesignFonts.h"
#include "platform/qt/QtMessageBox.h"
#include "platform/qt/QtProcessStarter.h"
#include "platform/qt/QtRegional.h"
#include "platform/qt/QtSerialPort.h"
#include "platform/qt/QtTimer.h"
#include "settings/qt/ChSettings.h"

// The pictures live in a static library, whose resources the program must ask for by name.
static void InitResources() { Q_INIT_RESOURCE(icons); }

namespace tarnwell {

int RunProgram(int argc, char** argv) {
  OpenStandardDescriptors();
  QApplication app(argc, argv);
  InitResources();
  RegisterDesignFonts();
  QApplication::setApplicationName(QStringLiteral("Tarnwell"));
  const int stopSignals = CatchTerminationSignals();
  // Until the program's state exists, a termination request simply ends it.
  std::function<void()> onStopRequest = [] { std::_Exit(0); };
  QSocketNotifier stopRequests(stopSignals, QSocketNotifier::Read);
  QObject::connect(&stopRequests, &QSocketNotifier::activated, [&onStopRequest, stopSignals] {
    TakeTerminationRequest(stopSignals);
    onStopRequest();
  });

  PosixFileSystem files;
  PosixClock clock;
  QtMessageBox messages("Tarnwell");
  // Whoever can change the folder could choose the device read, read and replace the records
  // and keep the program from starting.
  if (const auto& problem = files.DataFolderProblem()) {
    messages.Show("The data folder " + files.DataFolder() + " cannot be trusted: " + *problem +
                      ". This start ends without opening the port or recording.",
                  {});
    return 1;
  }
  const FolderLock folderLock(files.DataFolder(), files.FileMode());
  if (!folderLock.Held()) {
    messages.Show(AlreadyRunningMessage(files.DataFolder()), {});
    return 1;
  }
  QtSerialPort port(files.DataFolder(), clock);
  QtTimer refreshTimer, recordTimer, stabilityTimer;
  QTimer recordSync;

  MainWindow window;
  messages.SetParent(&window);

  Mainform form(Platform{port, clock, files, messages, SystemRegional(), refreshTimer, recordTimer,
                         stabilityTimer, SystemCodePages()},
                window,
                Version{TARNWELL_VERSION_MAJOR, TARNWELL_VERSION_MINOR, TARNWELL_VERSION_PATCH});
  window.SetForm(&form);

  QtProcessStarter processes;
  const SettingsServices settings = form.Settings(processes);
  const PosixSerialDevices devices(files.DataFolder());
  QPointer<ChSettings> dialog;
  const ChSettings::ApplyTexts applyTexts = [&form](QWidget* w) {
    ApplyFormTextsTo(w, form.Texts());
  };
  window.SetOnSetup(
      [&] { ChSettings::ShowOrRaise(dialog, settings, applyTexts, &window, &devices); });
  // At shutdown nothing is read any more: its messages wait for OK again.
  form.SetUnloadSettings([&dialog, &messages] {
    if (dialog) dialog->close();
    messages.SetWaiting(true);
  });

  // A termination request is obeyed in every state. In the running window it closes the window
  // as the operator would; while start-up runs or a message box waits for OK, the settings and
  // the record are saved here and the program ends at once.
  bool running = false;
  onStopRequest = [&] {
    if (running && !QApplication::activeModalWidget()) {
      window.close();
      return;
    }
    messages.SetQuiet();
    std::_Exit(form.ShutDown() ? 0 : 1);
  };
  if (!form.StartUp()) return 1;

  // The record file is synced at least once a second, also when no further line comes.
  QObject::connect(&recordSync, &QTimer::timeout, [&form] { form.FlushRecord(); });
  recordSync.start(1000);

  QObject::connect(&app, &QGuiApplication::commitDataRequest, [&form] { form.ShutDown(); });
  QObject::connect(&app, &QCoreApplication::aboutToQuit, [&form] { form.ShutDown(); });

  window.show();
  running = true;
  messages.SetWaiting(false);
  const int code = QApplication::exec();
  // The exit status also tells whether the settings and every record line were saved.
  return form.ShutDown() ? code : 1;
}

}  // namespace tarnwell
