// Benchmark of the measurement log under Wine (or Windows), with two-channel records of the size
// a bright day gives ("2024.06.21 12:00:00;1012.3;411.8" and CR LF):
//  - one record written and flushed by the Windows log file (median, 99th percentile, maximum);
//  - the log writer: what Push costs the window, and how fast records pushed at once (a backlog)
//    drain into the file;
//  - the heap taken by seven days of records at 1 s (604,800), in the record queue and, for
//    comparison, as one std::string pair per record.

#include "recording/LogFileWin.h"
#include "recording/LogWriter.h"
#include "recording/RecordQueue.h"
#include "toolkit/TextConv.h"

#include <windows.h>

#include "bench/BenchClock.h"

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <deque>
#include <new>
#include <vector>

// Every allocation is counted: live bytes and live blocks.
namespace
{
std::atomic<long long> liveBytes{0};
std::atomic<long long> liveBlocks{0};
constexpr std::size_t TAG = 16; // keeps the block aligned as new would
} // namespace

void* operator new(std::size_t size)
{
    auto* block = static_cast<unsigned char*>(std::malloc(size + TAG));
    if (!block)
        throw std::bad_alloc();
    *reinterpret_cast<std::size_t*>(block) = size;
    liveBytes += static_cast<long long>(size);
    ++liveBlocks;
    return block + TAG;
}

void operator delete(void* p) noexcept
{
    if (!p)
        return;
    auto* block = static_cast<unsigned char*>(p) - TAG;
    liveBytes -= static_cast<long long>(*reinterpret_cast<std::size_t*>(block));
    --liveBlocks;
    std::free(block);
}

void operator delete(void* p, std::size_t) noexcept
{
    operator delete(p);
}

namespace
{

LogRecord Record(int i)
{
    char line[64];
    std::snprintf(line, sizeof line, "2024.06.21 %02d:%02d:%02d;%.1f;%.1f\r\n", i / 3600 % 24,
                  i / 60 % 60, i % 60, 1000.0 + i % 900 / 10.0, 400.0 + i % 500 / 10.0);
    return {"", line};
}

void PrintSpread(const char* what, std::vector<double> ms)
{
    std::sort(ms.begin(), ms.end());
    std::printf("%s  n=%zu median=%.4f ms p99=%.4f ms max=%.3f ms\n", what, ms.size(),
                ms[ms.size() / 2], ms[ms.size() * 99 / 100], ms.back());
}

long long FileSize(const std::string& path)
{
    WIN32_FILE_ATTRIBUTE_DATA data{};
    if (!GetFileAttributesExW(Utf8ToWide(path).c_str(), GetFileExInfoStandard, &data))
        return -1;
    return (static_cast<long long>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
}

std::string TempPath(const char* name)
{
    wchar_t folder[MAX_PATH] = {};
    GetTempPathW(MAX_PATH, folder);
    return WideToUtf8(folder) + name;
}

void FileAppend(int records)
{
    const std::string path = TempPath("qm7xx-log-bench.csv");
    DeleteFileW(Utf8ToWide(path).c_str());
    LogFileWin file;
    file.Open(path);
    std::vector<double> ms;
    for (int i = 0; i < records; ++i)
    {
        const std::string bytes = Record(i).line;
        const double start = Now();
        if (!file.Append(bytes))
            std::printf("write failed: %lu\n", file.LastError());
        ms.push_back(Now() - start);
    }
    PrintSpread("LogFileWin::Append (write + flush)", ms);
    std::printf("bytes per record %zu; 24 h at 1 s: %.2f MB\n", Record(0).line.size(),
                static_cast<double>(Record(0).line.size()) * 86400 / 1e6);
    file.Empty();
}

void WriterPushAndDrain(int records)
{
    const std::string path = TempPath("qm7xx-writer-bench.csv");
    DeleteFileW(Utf8ToWide(path).c_str());
    auto file = std::make_unique<LogFileWin>();
    file->Open(path);
    LogWriter writer(std::move(file), LogStart::Append, 1, [](const LogWriterEvent&) {});
    std::vector<double> ms;
    const double start = Now();
    for (int i = 0; i < records; ++i)
    {
        const LogRecord record = Record(i);
        const double pushed = Now();
        writer.Push(record);
        ms.push_back(Now() - pushed);
    }
    PrintSpread("LogWriter::Push (the window's side)", ms);
    const long long expected = static_cast<long long>(records) * Record(0).line.size();
    while (FileSize(path) < expected && Now() - start < 120000)
        Sleep(1);
    const double seconds = (Now() - start) / 1000.0;
    writer.Stop();
    std::printf(
        "drain: %d records in %.2f s, %.0f records/s: a week's backlog at 1 s takes %.0f s\n",
        records, seconds, records / seconds, 604800 / (records / seconds));
    DeleteFileW(Utf8ToWide(path).c_str());
}

template <typename Fill> void Memory(const char* what, Fill fill)
{
    const long long bytes0 = liveBytes, blocks0 = liveBlocks;
    fill(
        [&](long long bytes, long long blocks)
        {
            std::printf("%s: %.1f MB in %lld blocks (%.1f bytes and %.2f blocks per record; with "
                        "16 bytes of heap overhead per block %.1f MB)\n",
                        what, static_cast<double>(bytes - bytes0) / 1e6, blocks - blocks0,
                        static_cast<double>(bytes - bytes0) / 604800.0,
                        static_cast<double>(blocks - blocks0) / 604800.0,
                        static_cast<double>(bytes - bytes0 + 16 * (blocks - blocks0)) / 1e6);
        });
}

void QueueMemory()
{
    constexpr int WEEK = 604800;
    Memory("RecordQueue, 7 days at 1 s",
           [](auto report)
           {
               RecordQueue queue(RecordQueue::CapacityFor(1));
               for (int i = 0; i < WEEK; ++i)
                   queue.Push(Record(i));
               report(liveBytes.load(), liveBlocks.load());
           });
    Memory("std::deque<LogRecord>, 7 days at 1 s",
           [](auto report)
           {
               std::deque<LogRecord> queue;
               for (int i = 0; i < WEEK; ++i)
                   queue.push_back(Record(i));
               report(liveBytes.load(), liveBlocks.load());
           });
}

} // namespace

int main(int argc, char** argv)
{
    const int records = argc > 1 ? std::atoi(argv[1]) : 5000;
    FileAppend(records);
    WriterPushAndDrain(records * 20);
    QueueMemory();
    return 0;
}
