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

// Appending to an existing file and emptying it are in the main window's recording tests.
TEST(LogFileWin, RecordsAreInTheFileAtOnceAndReopeningWorksButNobodyElseWritesIt)
{
    const std::string path = std::string(std::getenv("TEMP")) + "\\log-file-win.csv";
    DeleteFileA(path.c_str());
    LogFileWin file;
    ASSERT_EQ(file.Open(path), LogSink::OpenResult::Created);
    ASSERT_TRUE(file.Append("A\r\n"));
    EXPECT_EQ(Bytes(path), "A\r\n") << "readable by others at once";
    EXPECT_EQ(file.Reopen(), LogSink::OpenResult::Existing) << "its own handle is closed first";
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
