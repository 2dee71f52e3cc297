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
    for (const auto& [interval, capacity] :
         {std::pair<int, std::size_t>{1, 604800}, {11, 54982}, {0, 604800}})
        EXPECT_EQ(RecordQueue::CapacityFor(interval), capacity) << interval;
}

// The writer's tests drop records and repeat the one header there is; here, a newer header.
TEST(RecordQueue, TheHeaderInForceIsTheNewestOne)
{
    RecordQueue dropping(1);
    dropping.Push({"H", "1"});
    dropping.Push({"G", "2"});
    EXPECT_EQ(Drain(dropping), std::vector<std::string>{"G2"});

    RecordQueue repeating(3);
    for (const LogRecord& record : {LogRecord{"H", "1"}, {"G", "2"}, {"", "3"}})
        repeating.Push(record);
    repeating.Written(repeating.HeadNumber(), 2);
    repeating.RepeatHeaderAtHead();
    EXPECT_EQ(Drain(repeating), std::vector<std::string>{"G3"});
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

// Records waiting go into the file together up to the byte limit (the head at least), headed by
// the head's header.
TEST(RecordQueue, ABatchStopsAtItsByteLimit)
{
    RecordQueue queue(10);
    queue.Push({"H", "1"});
    queue.Written(queue.HeadNumber(), 1);
    for (const char* line : {"22", "33", "44"})
        queue.Push({"", line});
    queue.RepeatHeaderAtHead();
    std::size_t count = 0;
    for (const auto& [bytes, text] : {std::pair<std::size_t, std::string>{0, "H22"},
                                      {5, "H2233"},
                                      {6, "H2233"},
                                      {99, "H223344"}})
        EXPECT_EQ(queue.Front(9, bytes, count), text) << bytes;
}
