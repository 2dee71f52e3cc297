#include "tools/qm7xx-sim/SerialLine.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <termios.h>
#include <unistd.h>

namespace
{

class PosixSerialLine : public SerialLine
{
public:
    explicit PosixSerialLine(int fd) : fd_(fd) {}
    ~PosixSerialLine() override { close(fd_); }
    PosixSerialLine(const PosixSerialLine&) = delete;
    PosixSerialLine& operator=(const PosixSerialLine&) = delete;

    bool Write(const std::uint8_t* bytes, std::size_t count) override
    {
        while (count > 0)
        {
            const ssize_t written = write(fd_, bytes, count);
            if (written < 0)
            {
                if (errno == EINTR)
                    continue; // Ctrl+C: the byte still goes out, the caller stops after it
                return false;
            }
            bytes += written;
            count -= static_cast<std::size_t>(written);
        }
        return true;
    }

    void Drain() override
    {
        while (tcdrain(fd_) != 0 && errno == EINTR)
        {
        }
    }

private:
    int fd_;
};

} // namespace

std::unique_ptr<SerialLine> OpenSerialLine(const std::string& port, std::string& error)
{
    const int fd = open(port.c_str(), O_WRONLY | O_NOCTTY | O_CLOEXEC);
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
        cfsetispeed(&line, B300);
        cfsetospeed(&line, B300);
        tcsetattr(fd, TCSANOW, &line); // a device that refuses keeps its settings
    }
    return std::make_unique<PosixSerialLine>(fd);
}
