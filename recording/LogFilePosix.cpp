#include "recording/LogFilePosix.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace
{

unsigned long Errno()
{
    return static_cast<unsigned long>(errno);
}

} // namespace

unsigned long LogFilePosix::TimedOutError() const
{
    return ETIMEDOUT;
}

void LogFilePosix::Close()
{
    if (fd_ >= 0)
        close(fd_);
    fd_ = -1;
}

unsigned long LogFilePosix::OpenFile(const std::string& path, bool& existed)
{
    Close();
    // Create it, or else open the one that is there; a file removed in between is created on the
    // second round.
    for (int round = 0; round < 2; ++round)
    {
        fd_ = open(path.c_str(), O_RDWR | O_APPEND | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd_ >= 0)
        {
            existed = false;
            return 0;
        }
        if (errno != EEXIST)
            return Errno();
        fd_ = open(path.c_str(), O_RDWR | O_APPEND | O_CLOEXEC);
        if (fd_ >= 0)
        {
            existed = true;
            return 0;
        }
        if (errno != ENOENT)
            return Errno();
    }
    return ENOENT;
}

unsigned long LogFilePosix::SeekEnd(std::uint64_t& size)
{
    struct stat status
    {
    };
    if (fstat(fd_, &status) != 0)
        return Errno();
    size = static_cast<std::uint64_t>(status.st_size);
    return 0;
}

unsigned long LogFilePosix::Write(const char* data, std::size_t size, std::size_t& written)
{
    written = 0;
    while (written < size)
    {
        const ssize_t n = write(fd_, data + written, size - written);
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            return Errno();
        if (n == 0)
            return EIO;
        written += static_cast<std::size_t>(n);
    }
    return 0;
}

unsigned long LogFilePosix::Flush()
{
    return fsync(fd_) == 0 ? 0 : Errno();
}

unsigned long LogFilePosix::Truncate(std::uint64_t size)
{
    return ftruncate(fd_, static_cast<off_t>(size)) == 0 ? 0 : Errno();
}

bool LogFilePosix::HandleSurvives(unsigned long error) const
{
    return error == ENOSPC || error == EDQUOT || error == EFBIG;
}
