#include "recording/RecordQueue.h"

#include <algorithm>

namespace
{

constexpr std::size_t SECONDS_KEPT = 7 * 24 * 3600;

} // namespace

std::size_t RecordQueue::CapacityFor(int intervalSeconds)
{
    const std::size_t interval = static_cast<std::size_t>(std::max(intervalSeconds, 1));
    return (SECONDS_KEPT + interval - 1) / interval;
}

void RecordQueue::Push(const LogRecord& record)
{
    if (!entries_.empty() && entries_.size() >= capacity_)
    {
        PopHead(false);
        ++dropped_;
    }
    bytes_.insert(bytes_.end(), record.header.begin(), record.header.end());
    bytes_.insert(bytes_.end(), record.line.begin(), record.line.end());
    entries_.push_back({static_cast<std::uint32_t>(record.header.size()),
                        static_cast<std::uint32_t>(record.line.size())});
}

std::string RecordQueue::Front(std::size_t maxRecords, std::size_t maxBytes,
                               std::size_t& count) const
{
    std::string text;
    if (entries_.front().headerSize == 0 && repeatHeader_)
        text = headerInForce_;
    std::size_t end = 0;
    for (count = 0; count < entries_.size() && count < maxRecords; ++count)
    {
        const std::size_t size = entries_[count].headerSize + entries_[count].lineSize;
        if (count > 0 && text.size() + size > maxBytes)
            break;
        text.append(bytes_.begin() + end, bytes_.begin() + end + size);
        end += size;
    }
    return text;
}

void RecordQueue::Written(std::uint64_t first, std::size_t count)
{
    for (std::uint64_t number = first; number < first + count; ++number)
    {
        if (number == headNumber_ && !entries_.empty())
            PopHead(true);
        else if (number < headNumber_ && dropped_ > 0)
            --dropped_;
    }
}

void RecordQueue::PopHead(bool written)
{
    const Entry head = entries_.front();
    if (head.headerSize > 0)
        headerInForce_.assign(bytes_.begin(), bytes_.begin() + head.headerSize);
    // A dropped header is owed to the file by the next record.
    repeatHeader_ = !written && (repeatHeader_ || head.headerSize > 0);
    bytes_.erase(bytes_.begin(), bytes_.begin() + head.headerSize + head.lineSize);
    entries_.pop_front();
    ++headNumber_;
}
