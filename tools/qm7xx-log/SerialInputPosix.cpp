#include "tools/qm7xx-log/SerialInput.h"

#include "meter/MeterLine.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <poll.h>
#include <termios.h>
#include <unistd.h>

namespace
{

static_assert(METER_BAUD == 300 && METER_DATA_BITS == 7 && METER_PARITY == 'N' &&
                  METER_STOP_BITS == 1,
              "the termios settings below are B300, CS7, no PARENB, no CSTOPB");

class PosixSerialInput : public SerialInput
{
public:
    explicit PosixSerialInput(int fd) : fd_(fd) {}
    ~PosixSerialInput() override { close(fd_); }
    PosixSerialInput(const PosixSerialInput&) = delete;
    PosixSerialInput& operator=(const PosixSerialInput&) = delete;

    std::size_t Read(std::uint8_t* buffer, std::size_t size, int timeoutMs, bool& dead) override
    {
        dead = false;
        pollfd wanted{fd_, POLLIN, 0};
        const int ready = poll(&wanted, 1, timeoutMs);
        if (ready <= 0)
            return 0; // nothing came, or a signal (a stop request) ended the wait
        const ssize_t n = read(fd_, buffer, size);
        if (n > 0)
            return static_cast<std::size_t>(n);
        // Readable with nothing to read is a hang-up; EIO, ENXIO, ENODEV and the like say the
        // device has gone.
        dead = n == 0 || (errno != EINTR && errno != EAGAIN);
        return 0;
    }

private:
    int fd_;
};

} // namespace

std::unique_ptr<SerialInput> OpenSerialInput(const std::string& port, std::string& error)
{
    // Non-blocking, so that opening does not wait for a modem line a meter never raises.
    const int fd = open(port.c_str(), O_RDONLY | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
    {
        error = std::strerror(errno);
        return nullptr;
    }
    if (!isatty(fd))
    {
        close(fd);
        error = "not a serial device (tty)";
        return nullptr;
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
        tcsetattr(fd, TCSANOW, &line); // a device that refuses keeps its settings
    }
    return std::make_unique<PosixSerialInput>(fd);
}
