#include "FakeLogFile.h"
#include "recording/LogFilePosix.h"

#include <gtest/gtest.h>

#include <fstream>
#include <functional>
#include <sstream>
#include <unistd.h>

// A record that fails leaves nothing of itself in the file, now or, when even the cut fails,
// by the time the next record goes in.
TEST(LogSink, AFailedRecordLeavesNoPartOfALine)
{
    struct Case
    {
        const char* name;
        std::function<void(FakeDisk&)> fail, heal;
        unsigned long error;
        bool handleLost;
        const char* afterFailure;
    };
    const Case cases[] = {
        {"short write", [](FakeDisk& d) { d.full = true, d.partial = 4; },
         [](FakeDisk& d) { d.full = false; }, DISK_FULL, false, "A\r\n"},
        {"flush fails", [](FakeDisk& d) { d.flushFails = true; },
         [](FakeDisk& d) { d.flushFails = false; }, DISK_FULL, false, "A\r\n"},
        {"cut fails too", [](FakeDisk& d) { d.full = true, d.partial = 4, d.cutFails = true; },
         [](FakeDisk& d) { d.full = false, d.cutFails = false; }, DISK_FULL, false, "A\r\nB\r\nB"},
    };
    for (const Case& c : cases)
    {
        auto disk = std::make_shared<FakeDisk>();
        FakeLogFile file(disk);
        ASSERT_EQ(file.Open("F:\\log.csv"), LogSink::OpenResult::Created);
        ASSERT_TRUE(file.Append("A\r\n"));
        disk->Change(c.fail);
        EXPECT_FALSE(file.Append("B\r\nB\r\n")) << c.name;
        EXPECT_EQ(file.LastError(), c.error) << c.name;
        EXPECT_EQ(file.HandleLost(), c.handleLost) << c.name;
        EXPECT_EQ(disk->Content(), c.afterFailure) << c.name;
        disk->Change(c.heal);
        EXPECT_TRUE(file.Append("C\r\n")) << c.name;
        EXPECT_EQ(disk->Content(), "A\r\nC\r\n") << c.name;
    }
}

namespace
{

std::string ReadAll(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

} // namespace

TEST(LogFilePosix, OpensAppendsReopensWithoutTruncatingAndEmpties)
{
    char folder[] = "/tmp/qm7xx-logXXXXXX";
    ASSERT_NE(mkdtemp(folder), nullptr);
    const std::string path = std::string(folder) + "/log.csv";

    LogFilePosix file;
    ASSERT_EQ(file.Open(path), LogSink::OpenResult::Created);
    ASSERT_TRUE(file.Append("A\r\n"));
    EXPECT_EQ(ReadAll(path), "A\r\n") << "readable by others at once";
    EXPECT_EQ(LogFilePosix().Open(path), LogSink::OpenResult::Existing);
    EXPECT_EQ(file.Reopen(), LogSink::OpenResult::Existing);
    ASSERT_TRUE(file.Append("B\r\n"));
    EXPECT_EQ(ReadAll(path), "A\r\nB\r\n");
    // A file removed under the handle comes back new on reopening.
    ASSERT_EQ(unlink(path.c_str()), 0);
    EXPECT_EQ(file.Reopen(), LogSink::OpenResult::Created);
    ASSERT_TRUE(file.Append("C\r\n"));
    ASSERT_TRUE(file.Empty());
    ASSERT_TRUE(file.Append("D\r\n"));
    EXPECT_EQ(ReadAll(path), "D\r\n");

    EXPECT_EQ(LogFilePosix().Open(std::string(folder) + "/no/such/log.csv"),
              LogSink::OpenResult::Failed);
    unlink(path.c_str());
    rmdir(folder);
}
