// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

namespace tarnwell {

// The whole program on Windows: builds the services, the main window and the program state,
// runs the start-up sequence and the message loop. Closing the window (the close box, Alt+F4,
// a taskkill) and a log-off or shutdown of Windows run the shutdown sequence, so the settings
// and every recorded line are saved. The exit status is 1 when the program could not run.
int RunProgram();

}  // namespace tarnwell
