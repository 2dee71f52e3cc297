#include "recording/LogFileWin.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <sstream>

static std::string Bytes(const std::string& path)
{
    std::ostringstream bytes;
    bytes << std::ifstream(path, std::ios::binary).rdbuf();
    return bytes.str();
}

// What another program reading the file sees after each call.
TEST(LogFileWin, RecordsAreInTheFileAtOnceAndReopeningNeverTruncates)
{
    const std::string path = std::string(std::getenv("TEMP")) + "\\log-file-win.csv";
    DeleteFileA(path.c_str());
    LogFileWin file;
    ASSERT_EQ(file.Open(path), LogSink::OpenResult::Created);
    ASSERT_TRUE(file.Append("A\r\n"));
    EXPECT_EQ(Bytes(path), "A\r\n");
    EXPECT_EQ(file.Reopen(), LogSink::OpenResult::Existing);
    ASSERT_TRUE(file.Append("B\r\n"));
    EXPECT_EQ(Bytes(path), "A\r\nB\r\n");
    ASSERT_TRUE(file.Empty());
    ASSERT_TRUE(file.Append("C\r\n"));
    EXPECT_EQ(Bytes(path), "C\r\n");
    EXPECT_EQ(LogFileWin().Open(path), LogSink::OpenResult::Failed) << "nobody else writes it";
}

TEST(LogFileWin, AFullDiskKeepsTheHandle)
{
    LogFileWin file;
    ASSERT_NE(file.Open("Z:\\dev\\full"), LogSink::OpenResult::Failed);
    EXPECT_FALSE(file.Append("A\r\n"));
    EXPECT_EQ(file.LastError(), static_cast<unsigned long>(ERROR_DISK_FULL));
    EXPECT_FALSE(file.HandleLost());
}
