// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

namespace tarnwell {

// Some launchers and service managers start a program with standard input, output or error
// closed. A toolkit writes its warnings to descriptor 2, whatever the program opened there (the
// signal socket would read them as stop requests): the three are led to /dev/null first.
void OpenStandardDescriptors();

// Termination requests (SIGTERM, SIGINT, SIGHUP) as bytes on a descriptor an event loop can
// watch, so that the program ends the way its window closes. Gives that descriptor, -1 where
// none could be made (the signals then end the program as they would anyway).
int CatchTerminationSignals();

// Takes one request from the descriptor CatchTerminationSignals gave.
void TakeTerminationRequest(int fd);

}  // namespace tarnwell
