// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "platform/Regional.h"

namespace tarnwell {

// The decimal and date separators of the user's locale.
Regional SystemRegional();

}  // namespace tarnwell
