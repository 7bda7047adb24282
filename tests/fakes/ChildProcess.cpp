// SPDX-License-Identifier: GPL-3.0-or-later
// ChildProcess lives in its header.
#include "ChildProcess.h"
