#include "tools/qm7xx-sim/MeterTtyPosix.h"

#include "meter/MeterLine.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <termios.h>
#include <unistd.h>

static_assert(METER_BAUD == 300 && METER_DATA_BITS == 7 && METER_PARITY == 'N' &&
                  METER_STOP_BITS == 1,
              "the settings below are the meter's line");

int OpenMeterTty(const std::string& path, int flags, std::string& error)
{
    const int fd = open(path.c_str(), flags | O_NOCTTY | O_CLOEXEC);
    if (fd < 0)
    {
        error = std::strerror(errno);
        return -1;
    }
    if (!isatty(fd))
    {
        close(fd);
        error = "not a serial device (tty)";
        return -1;
    }
    termios line = {};
    if (tcgetattr(fd, &line) == 0)
    {
        cfmakeraw(&line);
        line.c_cflag &= ~static_cast<tcflag_t>(CSIZE | PARENB | CSTOPB | CRTSCTS);
        line.c_cflag |= CS7 | CLOCAL | CREAD;
        line.c_iflag &= ~static_cast<tcflag_t>(IXON | IXOFF | IXANY);
        line.c_cc[VMIN] = 0;
        line.c_cc[VTIME] = 0;
        cfsetispeed(&line, B300);
        cfsetospeed(&line, B300);
        tcsetattr(fd, TCSANOW, &line);
    }
    return fd;
}
