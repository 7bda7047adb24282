// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

namespace tarnwell {

// Mouse buttons as the design numbers them; every front end passes its buttons on so.
enum MouseButton : int { kNoButton = 0, kLeftButton = 1, kRightButton = 2, kMiddleButton = 4 };

}  // namespace tarnwell
