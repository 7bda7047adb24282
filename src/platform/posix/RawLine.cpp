// SPDX-License-Identifier: GPL-3.0-or-later
// The kernel's termios2 takes any speed; its header cannot be used beside <termios.h>.
#include "platform/posix/RawLine.h"

#include <asm/termbits.h>
#include <sys/ioctl.h>

#include <cerrno>

namespace tarnwell {

int SetRawLine(int fd, int speed) {
  termios2 line{};
  if (::ioctl(fd, TCGETS2, &line) != 0) return errno;
  line.c_iflag &= ~(IGNBRK | BRKINT | PARMRK | ISTRIP | INLCR | IGNCR | ICRNL | IXON | IXOFF);
  line.c_oflag &= ~OPOST;
  line.c_lflag &= ~(ECHO | ECHONL | ICANON | ISIG | IEXTEN);
  line.c_cflag &= ~(CSIZE | PARENB | CSTOPB | CRTSCTS | CBAUD | (CBAUD << IBSHIFT));
  line.c_cflag |= CS8 | CREAD | CLOCAL | BOTHER | (BOTHER << IBSHIFT);
  line.c_ispeed = line.c_ospeed = static_cast<speed_t>(speed);
  line.c_cc[VMIN] = 1;
  line.c_cc[VTIME] = 0;
  return ::ioctl(fd, TCSETS2, &line) == 0 ? 0 : errno;
}

}  // namespace tarnwell
