// Benchmark of one log record under Wine (or Windows): the main window's WriteLogRecord with a
// two-channel reading, i.e. the record's text, its conversion to code page 1250 and the one write
// at the end of the file. Prints the median, 99th percentile and maximum of many records, and the
// bytes one record takes, from which the size of a day's log at 1 s follows.

#include "toolkit/TextConv.h"
#include "ui/MainDlg.h"

#include <windows.h>

#include "bench/BenchClock.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <vector>

namespace
{

LONGLONG FileSize(const std::wstring& path)
{
    WIN32_FILE_ATTRIBUTE_DATA data{};
    if (!GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &data))
        return -1;
    return (static_cast<LONGLONG>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
}

} // namespace

int main(int argc, char** argv)
{
    const int records = argc > 1 ? std::atoi(argv[1]) : 20000;
    wchar_t folder[MAX_PATH] = {};
    GetTempPathW(MAX_PATH, folder);
    const std::wstring path = std::wstring(folder) + L"qm7xx-log-bench.csv";
    DeleteFileW(path.c_str());

    CMainDlg window;
    if (!window.Create())
        return 1;
    window.KillTimer(TIMER_PORT_RETRY);
    window.fileName = WideToUtf8(path);
    window.fileLog = 1;
    window.fileSepFormat = SEP_SEMICOLON;
    window.linkLost = 0;
    window.twoChannelMode = 1;
    window.decoder.reading.secondChannel = 8;
    window.logFile = std::make_unique<LogFile>();
    window.logFile->Open(window.fileName);

    window.WriteLogRecord(); // the header and the first record
    const LONGLONG afterFirst = FileSize(path);
    std::vector<double> ms;
    for (int i = 0; i < records; ++i)
    {
        window.reading1 = 1000.0 + i % 900 / 10.0; // four to five digits, as a bright day gives
        window.reading2 = 400.0 + i % 500 / 10.0;
        const double start = Now();
        window.WriteLogRecord();
        ms.push_back(Now() - start);
    }
    const double perRecord =
        static_cast<double>(FileSize(path) - afterFirst) / static_cast<double>(records);
    std::sort(ms.begin(), ms.end());
    std::printf("WriteLogRecord, two channels  n=%zu median=%.4f ms p99=%.4f ms max=%.3f ms\n",
                ms.size(), ms[ms.size() / 2], ms[ms.size() * 99 / 100], ms.back());
    std::printf("bytes per record %.1f (first with its header %lld); 24 h at 1 s: %.2f MB\n",
                perRecord, afterFirst, perRecord * 86400 / 1e6);
    window.logFile.reset();
    DestroyWindow(window.m_hWnd);
    DeleteFileW(path.c_str());
    return 0;
}
