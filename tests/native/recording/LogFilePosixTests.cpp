#include "recording/LogFilePosix.h"

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <unistd.h>

static std::string ReadAll(const std::string& path)
{
    std::ostringstream text;
    text << std::ifstream(path, std::ios::binary).rdbuf();
    return text.str();
}

TEST(LogFilePosix, OpensAppendsReopensWithoutTruncatingAndEmpties)
{
    char folder[] = "/tmp/qm7xx-logXXXXXX";
    ASSERT_NE(mkdtemp(folder), nullptr);
    const std::string path = std::string(folder) + "/log.csv";

    LogFilePosix file;
    ASSERT_EQ(file.Open(path), LogSink::OpenResult::Created);
    ASSERT_TRUE(file.Append("A\r\n"));
    EXPECT_EQ(ReadAll(path), "A\r\n") << "readable by others at once";
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
