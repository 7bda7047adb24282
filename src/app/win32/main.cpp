// SPDX-License-Identifier: GPL-3.0-or-later
#include <windows.h>

#include "app/win32/Program.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) { return tarnwell::RunProgram(); }
