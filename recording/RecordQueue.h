#pragma once

// The records waiting for the log file, oldest first. The queue holds at least seven days of
// records at the interval in force; past that each new record pushes out the oldest one, and the
// records pushed out are counted.
//
// A record's header names the columns of the records after it, so a header never leaves with a
// dropped record: the next record carries it into the file unless it has a newer one of its own.
// The same repeat serves a file that has lost the header (a new file taking over the backlog, or
// one recreated after it vanished).
//
// Records are stored back to back in one byte store (no allocation per record): a week at 1 s is
// 604,800 records of about 30 bytes.

#include "recording/LogRecord.h"

#include <cstddef>
#include <cstdint>
#include <deque>
#include <string>

class RecordQueue
{
public:
    // Records in seven days at the interval (seconds, 1 or more), rounded up.
    static std::size_t CapacityFor(int intervalSeconds);

    explicit RecordQueue(std::size_t capacity) : capacity_(capacity) {}

    // A lower capacity drops no record already queued: the queue then only stops growing.
    void SetCapacity(std::size_t capacity) { capacity_ = capacity; }

    void Push(const LogRecord& record);

    bool Empty() const { return entries_.empty(); }
    std::size_t Size() const { return entries_.size(); }
    // Records pushed out so far.
    std::uint64_t Dropped() const { return dropped_; }

    // Every record gets the next number when pushed; the head has the lowest number queued.
    std::uint64_t HeadNumber() const { return headNumber_; }
    std::uint64_t NextNumber() const { return headNumber_ + entries_.size(); }

    // The bytes of the records from the head on as they go into the file (the head's header, its
    // own or a repeated one, first): at most `maxRecords`, and no more than `maxBytes` unless the
    // head alone is longer. `count` tells how many. Only when not Empty().
    std::string Front(std::size_t maxRecords, std::size_t maxBytes, std::size_t& count) const;

    // The records numbered from `first` on, `count` of them, went into the file. Those still
    // queued leave; any pushed out while being written are no longer counted as dropped.
    void Written(std::uint64_t first, std::size_t count);

    // The file lacks the header the head record is written under: the head repeats it.
    void RepeatHeaderAtHead() { repeatHeader_ = true; }

private:
    struct Entry
    {
        std::uint32_t headerSize;
        std::uint32_t lineSize;
    };

    void PopHead(bool written);

    std::size_t capacity_;
    std::deque<char> bytes_;
    std::deque<Entry> entries_;
    std::uint64_t headNumber_ = 0;
    std::uint64_t dropped_ = 0;
    // The header of the latest record that left the queue: the one the head is written under.
    std::string headerInForce_;
    bool repeatHeader_ = false;
};
