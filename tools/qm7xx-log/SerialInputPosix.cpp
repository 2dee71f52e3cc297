#include "tools/qm7xx-log/SerialInput.h"

#include "tools/qm7xx-sim/MeterTtyPosix.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <poll.h>
#include <termios.h>
#include <unistd.h>

namespace
{

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
    const int fd = OpenMeterTty(port, O_RDONLY | O_NONBLOCK, error);
    if (fd < 0)
        return nullptr;
    return std::make_unique<PosixSerialInput>(fd);
}
