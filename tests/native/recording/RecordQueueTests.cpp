#include "recording/RecordQueue.h"

#include <gtest/gtest.h>

#include <vector>

namespace
{

// Writes out the whole queue, as the file would receive it.
std::vector<std::string> Drain(RecordQueue& queue)
{
    std::vector<std::string> out;
    std::size_t count = 0;
    while (!queue.Empty())
    {
        out.push_back(queue.Front(1, 0, count));
        queue.Written(queue.HeadNumber(), count);
    }
    return out;
}

} // namespace

TEST(RecordQueue, HoldsSevenDaysAtTheIntervalRoundedUp)
{
    const std::pair<int, std::size_t> cases[] = {
        {1, 604800}, {11, 54982}, {0, 604800}, {700000, 1}};
    for (const auto& [interval, capacity] : cases)
        EXPECT_EQ(RecordQueue::CapacityFor(interval), capacity) << interval;
}

// Records pushed into a queue of the capacity, the first `written` written, then the header
// repeated at the head when asked: what the file receives from there on, and how many dropped.
TEST(RecordQueue, KeepsOrderDropsTheOldestAndNeverLosesAHeader)
{
    struct Case
    {
        const char* name;
        std::size_t capacity;
        std::vector<LogRecord> pushes;
        int written;
        bool repeat;
        std::vector<std::string> file;
        std::uint64_t dropped;
    };
    const Case cases[] = {
        {"in order", 5, {{"H", "1"}, {"", "2"}, {"", "3"}}, 0, false, {"H1", "2", "3"}, 0},
        {"oldest dropped",
         2,
         {{"", "1"}, {"", "2"}, {"", "3"}, {"", "4"}},
         0,
         false,
         {"3", "4"},
         2},
        {"dropped header carried", 2, {{"H", "1"}, {"", "2"}, {"", "3"}}, 0, false, {"H2", "3"}, 1},
        {"carried on", 1, {{"H", "1"}, {"", "2"}, {"", "3"}}, 0, false, {"H3"}, 2},
        {"newer header wins", 1, {{"H", "1"}, {"G", "2"}}, 0, false, {"G2"}, 1},
        {"written header not repeated", 3, {{"H", "1"}, {"", "2"}}, 1, false, {"2"}, 0},
        {"repeat asked", 3, {{"H", "1"}, {"", "2"}, {"", "3"}}, 1, true, {"H2", "3"}, 0},
        {"repeat of the latest", 3, {{"H", "1"}, {"G", "2"}, {"", "3"}}, 2, true, {"G3"}, 0},
    };
    for (const Case& c : cases)
    {
        RecordQueue queue(c.capacity);
        for (const LogRecord& record : c.pushes)
            queue.Push(record);
        for (int i = 0; i < c.written; ++i)
            queue.Written(queue.HeadNumber(), 1);
        if (c.repeat)
            queue.RepeatHeaderAtHead();
        EXPECT_EQ(queue.Dropped(), c.dropped) << c.name;
        EXPECT_EQ(Drain(queue), c.file) << c.name;
    }
}

TEST(RecordQueue, ALowerCapacityStopsGrowthWithoutDroppingTheBacklogAtOnce)
{
    RecordQueue queue(4);
    for (const char* line : {"1", "2", "3", "4"})
        queue.Push({"", line});
    queue.SetCapacity(2);
    queue.Push({"", "5"});
    EXPECT_EQ(queue.Size(), 4u);
    EXPECT_EQ(queue.Dropped(), 1u);
}

TEST(RecordQueue, ARecordDroppedWhileBeingWrittenLeavesTheNextOneQueued)
{
    RecordQueue queue(2);
    queue.Push({"", "1"});
    queue.Push({"", "2"});
    const std::uint64_t beingWritten = queue.HeadNumber();
    queue.Push({"", "3"}); // pushes out "1" while it is being written
    queue.Written(beingWritten, 1);
    EXPECT_EQ(queue.Dropped(), 0u) << "it reached the file after all";
    EXPECT_EQ(Drain(queue), (std::vector<std::string>{"2", "3"}));
}

// Records waiting go into the file together: up to the byte limit (the head at least), headed by
// the head's header, and the whole batch leaves the queue once written.
TEST(RecordQueue, ABatchStopsAtItsLimitsAndLeavesWhole)
{
    RecordQueue queue(10);
    queue.Push({"H", "1"});
    queue.Written(queue.HeadNumber(), 1);
    for (const char* line : {"22", "33", "44"})
        queue.Push({"", line});
    queue.RepeatHeaderAtHead();
    const std::tuple<std::size_t, std::size_t, std::string> limits[] = {
        {9, 0, "H22"}, {9, 5, "H2233"}, {9, 6, "H2233"}, {2, 9, "H2233"}, {9, 99, "H223344"}};
    std::size_t count = 0;
    for (const auto& [records, bytes, text] : limits)
        EXPECT_EQ(queue.Front(records, bytes, count), text) << records << " " << bytes;
    queue.Written(queue.HeadNumber(), 2);
    EXPECT_EQ(queue.Front(9, 99, count), "44");
    EXPECT_EQ(count, 1u);
}
