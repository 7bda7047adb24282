// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

namespace tarnwell {

// The user's regional separators, used wherever numbers and dates are written as text
// (config.ini, record lines, the display). Taken from the system locale once at start-up;
// tests construct their own.
struct Regional {
  char decimal = '.';
  char dateSeparator = '/';
};

}  // namespace tarnwell
