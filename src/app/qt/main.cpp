// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/qt/Program.h"

int main(int argc, char** argv) { return tarnwell::RunProgram(argc, argv); }
