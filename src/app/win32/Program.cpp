// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/win32/Program.h"

#include <windows.h>

#include <memory>

#include "app/Mainform.h"
#include "app/win32/Win32MainWindow.h"
#include "i18n/LangCharset.h"
#include "platform/win32/MessageWindow.h"
#include "platform/win32/Win32Clock.h"
#include "platform/win32/Win32FileSystem.h"
#include "platform/win32/Win32FolderLock.h"
#include "platform/win32/Win32MessageBox.h"
#include "platform/win32/Win32ProcessStarter.h"
#include "platform/win32/Win32Regional.h"
#include "platform/win32/Win32SerialDevices.h"
#include "platform/win32/Win32SerialPort.h"
#include "platform/win32/Win32Timer.h"
#include "settings/win32/Win32SettingsDialog.h"

namespace tarnwell {
namespace {

// The record file is synced at least once a second, also when no further line comes.
constexpr unsigned kRecordSyncMs = 1000;

}  // namespace

int RunProgram() {
  Win32FileSystem files;
  Win32Clock clock;
  Win32MessageBox messages("Tarnwell");
  const Win32FolderLock folderLock(files.DataFolder());
  if (!folderLock.Held()) {
    messages.Show(AlreadyRunningMessage(files.DataFolder()), {});
    return 1;
  }
  MessageWindow ui;
  Win32SerialPort port(ui, clock);
  Win32Timer refreshTimer(ui), recordTimer(ui), stabilityTimer(ui);

  Win32MainWindow window;
  messages.SetOwner(window.Handle());
  Mainform form(Platform{port, clock, files, messages, SystemRegional(), refreshTimer, recordTimer,
                         stabilityTimer, SystemCodePages()},
                window,
                Version{TARNWELL_VERSION_MAJOR, TARNWELL_VERSION_MINOR, TARNWELL_VERSION_PATCH});
  window.SetForm(&form);

  Win32ProcessStarter processes;
  const SettingsServices settings = form.Settings(processes);
  const Win32SerialDevices devices;
  std::unique_ptr<Win32SettingsDialog> dialog;
  window.SetOnSetup([&] {
    Win32SettingsDialog::ShowOrRaise(dialog, settings, form.Texts(),
                                     LangCharsetFromText(form.Texts().Text(1)), window.Handle(),
                                     &devices);
  });
  // At shutdown nothing is read any more: its messages wait for OK again.
  form.SetUnloadSettings([&dialog, &messages] {
    if (dialog) dialog->Close();
    messages.SetWaiting(true);
  });
  window.SetOnClosed([] { ::PostQuitMessage(0); });

  if (!form.StartUp()) return 0;
  const UINT_PTR recordSync = ui.StartTimer(kRecordSyncMs, [&form] { form.FlushRecord(); });
  window.Show();
  messages.SetWaiting(false);

  MSG message;
  BOOL got = 0;
  while ((got = ::GetMessageW(&message, nullptr, 0, 0)) > 0) {
    // The settings dialog is modeless: its keys (Tab, Enter, Esc) are its own.
    if (dialog && dialog->IsOpen() && ::IsDialogMessageW(dialog->Window(), &message)) continue;
    ::TranslateMessage(&message);
    ::DispatchMessageW(&message);
  }
  ui.StopTimer(recordSync);
  // Done already when the window closed; here when the loop ended otherwise. The exit status
  // tells whether the settings and every record line were saved.
  const bool saved = form.ShutDown();
  return got < 0 || !saved ? 1 : 0;
}

}  // namespace tarnwell
