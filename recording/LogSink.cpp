#include "recording/LogSink.h"

LogSink::OpenResult LogSink::Open(const std::string& path)
{
    path_ = path;
    bool existed = false;
    if (const unsigned long error = OpenFile(path, existed))
    {
        lastError_ = error;
        handleLost_ = true; // there is no handle
        return OpenResult::Failed;
    }
    lastError_ = 0;
    handleLost_ = false;
    return existed ? OpenResult::Existing : OpenResult::Created;
}

bool LogSink::Append(const std::string& bytes)
{
    if (!CutPendingTail())
        return false;
    std::uint64_t end = 0;
    if (const unsigned long error = SeekEnd(end))
        return Fail(error);
    std::size_t written = 0;
    unsigned long error = Write(bytes.data(), bytes.size(), written);
    if (error == 0)
    {
        written = bytes.size();
        error = Flush();
    }
    if (error == 0)
        return true;
    // A record that is not flushed is not in the file: cut it off (now, or before the next one)
    // so that a retry neither leaves part of a line nor doubles it.
    if (written > 0 && Truncate(end) != 0)
    {
        cutPending_ = true;
        cutAt_ = end;
    }
    return Fail(error);
}

bool LogSink::Empty()
{
    if (const unsigned long error = Truncate(0))
        return Fail(error);
    cutPending_ = false;
    return true;
}

bool LogSink::CutPendingTail()
{
    if (!cutPending_)
        return true;
    std::uint64_t size = 0;
    unsigned long error = SeekEnd(size);
    // A file shorter than the cut (recreated, or the part never reached the disk) has nothing of
    // the record.
    if (error == 0 && size > cutAt_)
        error = Truncate(cutAt_);
    if (error != 0)
        return Fail(error);
    cutPending_ = false;
    return true;
}

bool LogSink::Fail(unsigned long error)
{
    lastError_ = error;
    handleLost_ = !HandleSurvives(error);
    return false;
}
