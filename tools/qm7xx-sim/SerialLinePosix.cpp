#include "tools/qm7xx-sim/SerialLine.h"

#include "tools/qm7xx-sim/MeterTtyPosix.h"

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
    const int fd = OpenMeterTty(port, O_WRONLY, error);
    if (fd < 0)
        return nullptr;
    return std::make_unique<PosixSerialLine>(fd);
}
