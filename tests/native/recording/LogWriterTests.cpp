#include "FakeLogFile.h"
#include "recording/LogWriter.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <optional>
#include <vector>

namespace
{

using Kind = LogWriterEvent::Kind;
using namespace std::chrono_literals;

const LogWriterTiming FAST{10ms, 150ms, 0ms, 300ms, 100ms};

// The owner's side: the events heard, in order.
class Heard
{
public:
    LogWriter::Report Recorder()
    {
        return [this](const LogWriterEvent& e)
        {
            std::lock_guard<std::mutex> lock(mutex_);
            events_.push_back(e);
            changed_.notify_all();
        };
    }
    // Waits for an event of the kind (and count, when given); returns the first such.
    std::optional<LogWriterEvent> Await(Kind kind, std::uint64_t count = ANY)
    {
        std::unique_lock<std::mutex> lock(mutex_);
        changed_.wait_for(lock, 5s, [&] { return Find(kind, count).has_value(); });
        return Find(kind, count);
    }
    int Count(Kind kind)
    {
        std::lock_guard<std::mutex> lock(mutex_);
        return static_cast<int>(std::count_if(events_.begin(), events_.end(),
                                              [kind](const LogWriterEvent& e)
                                              { return e.kind == kind; }));
    }

private:
    static constexpr std::uint64_t ANY = ~0ull;
    std::optional<LogWriterEvent> Find(Kind kind, std::uint64_t count) const
    {
        for (const LogWriterEvent& e : events_)
            if (e.kind == kind && (count == ANY || e.count == count))
                return e;
        return std::nullopt;
    }

    std::mutex mutex_;
    std::condition_variable changed_;
    std::vector<LogWriterEvent> events_;
};

// Waits until that many records are wholly in the file.
bool AwaitRecords(FakeDisk& disk, int records)
{
    return disk.Await([&](FakeDisk& d) { return d.flushes == records; });
}

} // namespace

// Records written while the disk fails stay queued and go in, in order and once each, when it
// works again; the owner hears of the spell once, of the backlog, and of its end.
TEST(LogWriter, KeepsFailedRecordsInOrderUntilWritingWorksAgain)
{
    struct Case
    {
        const char* name;
        std::function<void(FakeDisk&)> fail, heal;
        unsigned long error;
        const char* file;
    };
    const Case cases[] = {
        {"disk full", [](FakeDisk& d) { d.full = true, d.partial = 5; },
         [](FakeDisk& d) { d.full = false; }, DISK_FULL, "H1\r\n2\r\n3\r\n4\r\n"},
        {"flush fails", [](FakeDisk& d) { d.flushFails = true; },
         [](FakeDisk& d) { d.flushFails = false; }, DISK_FULL, "H1\r\n2\r\n3\r\n4\r\n"},
        // The part written cannot be cut off at once: it is before the next record goes in.
        {"cut fails too", [](FakeDisk& d) { d.full = d.cutFails = true, d.partial = 2; },
         [](FakeDisk& d) { d.full = d.cutFails = false; }, DISK_FULL, "H1\r\n2\r\n3\r\n4\r\n"},
        {"medium removed", [](FakeDisk& d) { d.present = false; },
         [](FakeDisk& d) { d.present = true; }, DEVICE_GONE, "H1\r\n2\r\n3\r\n4\r\n"},
        // Back without the file: it is created again, and the header with it.
        {"file gone", [](FakeDisk& d) { d.present = false; },
         [](FakeDisk& d) { d.present = true, d.exists = false, d.content.clear(); }, DEVICE_GONE,
         "H2\r\n3\r\n4\r\n"},
    };
    for (const Case& c : cases)
    {
        auto disk = std::make_shared<FakeDisk>();
        Heard heard;
        LogWriter writer(OpenFake(disk), LogStart::Append, 1, heard.Recorder(), FAST);
        writer.Push({"H", "1\r\n"});
        ASSERT_TRUE(AwaitRecords(*disk, 1)) << c.name;
        disk->Change(c.fail);
        writer.Push({"", "2\r\n"});
        ASSERT_TRUE(heard.Await(Kind::Backlog, 1)) << c.name;
        writer.Push({"", "3\r\n"});
        ASSERT_TRUE(heard.Await(Kind::Backlog, 2)) << c.name;
        disk->Change(c.heal);
        writer.Push({"", "4\r\n"});
        ASSERT_TRUE(heard.Await(Kind::BacklogWritten)) << c.name;
        EXPECT_EQ(writer.Stop(), 0u) << c.name;

        EXPECT_EQ(disk->Content(), c.file) << c.name;
        EXPECT_EQ(heard.Count(Kind::WriteFailed), 1) << c.name;
        EXPECT_EQ(heard.Await(Kind::WriteFailed)->error, c.error) << c.name;
        EXPECT_EQ(heard.Await(Kind::WriteFailed)->path, "F:\\log.csv") << c.name;
    }
}

TEST(LogWriter, PastSevenDaysTheOldestAreDroppedCountedAndTheirHeaderKept)
{
    auto disk = std::make_shared<FakeDisk>();
    disk->full = true;
    Heard heard;
    LogWriter writer(OpenFake(disk), LogStart::Append, 7 * 24 * 3600 / 2, heard.Recorder(), FAST);
    writer.Push({"H", "1\r\n"});
    ASSERT_TRUE(heard.Await(Kind::WriteFailed));
    for (const char* line : {"2\r\n", "3\r\n", "4\r\n", "5\r\n"})
        writer.Push({"", line});
    ASSERT_TRUE(heard.Await(Kind::Dropped, 3));
    disk->Change([](FakeDisk& d) { d.full = false; });
    ASSERT_TRUE(heard.Await(Kind::BacklogWritten));
    EXPECT_EQ(disk->Content(), "H4\r\n5\r\n");
}

// Records made before a switch go to the old file while it takes them; what a dead one leaves
// goes first to the new one, under its header, after emptying it as asked. The same file again
// is emptied after the records made before.
TEST(LogWriter, SwitchingFilesKeepsOrderAndLeavesNothingOnADeadFile)
{
    struct Case
    {
        const char* name;
        bool oldDies, sameFile;
        const char *oldFile, *newFile;
    };
    const Case cases[] = {
        {"old file slow", false, false, "H1\r\n2\r\n3\r\n", "G4\r\n"},
        {"old file dead", true, false, "H1\r\n", "H2\r\n3\r\nG4\r\n"},
        {"same file", false, true, "G4\r\n", "earlier\r\n"},
    };
    for (const Case& c : cases)
    {
        auto oldDisk = std::make_shared<FakeDisk>();
        auto newDisk = std::make_shared<FakeDisk>();
        newDisk->exists = true;
        newDisk->content = "earlier\r\n";
        Heard heard;
        LogWriter writer(OpenFake(oldDisk), LogStart::Append, 1, heard.Recorder(), FAST);
        writer.Push({"H", "1\r\n"});
        ASSERT_TRUE(AwaitRecords(*oldDisk, 1));
        if (c.oldDies)
            oldDisk->Change([](FakeDisk& d) { d.present = false; });
        else
            oldDisk->Change([](FakeDisk& d) { d.writesBlock = true; });
        writer.Push({"", "2\r\n"});
        ASSERT_TRUE(c.oldDies ? heard.Await(Kind::WriteFailed).has_value()
                              : oldDisk->Await([](FakeDisk& d) { return d.writeBlocked; }));
        writer.Push({"", "3\r\n"});
        writer.Switch(c.sameFile ? nullptr : OpenFake(newDisk), LogStart::Empty);
        writer.Push({"G", "4\r\n"});
        oldDisk->Change([](FakeDisk& d) { d.writesBlock = false; });
        writer.Stop();
        EXPECT_EQ(oldDisk->Content(), c.oldFile) << c.name;
        EXPECT_EQ(newDisk->Content(), c.newFile) << c.name;
        EXPECT_NE(oldDisk->closed, c.sameFile) << c.name;
        EXPECT_EQ(heard.Count(Kind::BacklogWritten), c.oldDies ? 1 : 0) << c.name;
    }
}

TEST(LogWriter, AFailedEmptyingIsReportedOnceAndNothingIsAppendedUntilItWorks)
{
    struct Case
    {
        const char* name;
        std::function<void(FakeDisk&)> fail, heal;
        unsigned long error;
    };
    const Case cases[] = {
        {"cut fails", [](FakeDisk& d) { d.cutFails = true; },
         [](FakeDisk& d) { d.cutFails = false; }, DISK_FULL},
        {"medium removed", [](FakeDisk& d) { d.present = false; },
         [](FakeDisk& d) { d.present = true; }, DEVICE_GONE},
    };
    for (const Case& c : cases)
    {
        auto disk = std::make_shared<FakeDisk>();
        disk->exists = true;
        disk->content = "earlier\r\n";
        auto file = OpenFake(disk);
        disk->Change(c.fail);
        Heard heard;
        LogWriter writer(std::move(file), LogStart::Empty, 1, heard.Recorder(), FAST);
        writer.Push({"H", "1\r\n"});
        ASSERT_TRUE(heard.Await(Kind::EmptyFailed)) << c.name;
        writer.Push({"", "2\r\n"});
        ASSERT_TRUE(heard.Await(Kind::Backlog, 2)) << c.name;
        EXPECT_EQ(disk->Content(), "earlier\r\n") << c.name;
        disk->Change(c.heal);
        ASSERT_TRUE(heard.Await(Kind::BacklogWritten)) << c.name;
        EXPECT_EQ(disk->Content(), "H1\r\n2\r\n") << c.name;
        EXPECT_EQ(heard.Count(Kind::EmptyFailed), 1) << c.name;
        EXPECT_EQ(heard.Count(Kind::WriteFailed), 0) << c.name;
        EXPECT_EQ(heard.Await(Kind::EmptyFailed)->error, c.error) << c.name;
    }
}

// A write that never returns: the owner hears of it as a failure once it has lasted, and Stop
// returns within its bound whether or not the call gives up when cancelled.
TEST(LogWriter, AStuckWriteIsReportedAndNeverHoldsUpStop)
{
    for (const bool honoured : {true, false})
    {
        auto disk = std::make_shared<FakeDisk>();
        disk->writesBlock = true;
        disk->cancelHonoured = honoured;
        Heard heard;
        auto writer = std::make_unique<LogWriter>(OpenFake(disk), LogStart::Append, 1,
                                                  heard.Recorder(), FAST);
        writer->Push({"H", "1\r\n"});
        ASSERT_TRUE(disk->Await([](FakeDisk& d) { return d.writeBlocked; }));
        std::this_thread::sleep_for(FAST.stalledAfter);
        writer->Push({"", "2\r\n"});
        ASSERT_TRUE(heard.Await(Kind::WriteFailed)) << honoured;
        EXPECT_EQ(heard.Await(Kind::WriteFailed)->error, TIMED_OUT) << honoured;
        EXPECT_TRUE(heard.Await(Kind::Backlog, 2)) << honoured;

        const auto start = std::chrono::steady_clock::now();
        EXPECT_EQ(writer->Stop(), 2u) << honoured;
        EXPECT_LT(std::chrono::steady_clock::now() - start,
                  FAST.stopWithin + 2 * FAST.cancelGrace + 200ms)
            << honoured;
        EXPECT_EQ(disk->cancels, 1) << honoured;
        const int heardAtStop = heard.Count(Kind::BacklogWritten) + heard.Count(Kind::Backlog);
        writer.reset();
        // Released at last, the call returns; the thread left behind closes the file, unheard.
        disk->Change([](FakeDisk& d) { d.writesBlock = false; });
        EXPECT_TRUE(disk->Await([](FakeDisk& d) { return d.closed; })) << honoured;
        EXPECT_EQ(heard.Count(Kind::BacklogWritten) + heard.Count(Kind::Backlog), heardAtStop);
    }
}
