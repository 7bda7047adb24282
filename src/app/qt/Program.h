// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <memory>

namespace tarnwell {

// The whole program on the real platform: builds the services, the main window and the program
// state, runs the start-up sequence and the event loop. SIGTERM, SIGINT and the end of the
// desktop session close the window as the operator would, so the settings and every recorded
// line are saved; the exit status is 1 when something could not be saved.
int RunProgram(int argc, char** argv);

}  // namespace tarnwell
