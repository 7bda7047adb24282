// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

namespace tarnwell {

// Sets the terminal `fd` to raw input, 8 data bits, no parity, 1 stop bit, no flow control, at
// `speed` bit/s, also a speed without a constant of its own (33600). Gives 0, or the errno of
// the failure (ENOTTY for something that is no terminal).
int SetRawLine(int fd, int speed);

}  // namespace tarnwell
