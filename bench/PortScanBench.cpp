// How long the port scan takes, and what each of its two sources answers on this system.
// usage: port_scan_bench [runs, default 20]

#include "meter/PortList.h"
#include "meter/PortScan.h"

#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace
{

double Milliseconds(const LARGE_INTEGER& from, const LARGE_INTEGER& to)
{
    LARGE_INTEGER frequency;
    QueryPerformanceFrequency(&frequency);
    return 1000.0 * static_cast<double>(to.QuadPart - from.QuadPart) /
           static_cast<double>(frequency.QuadPart);
}

void PrintTable(const char* source, const PortTable& table)
{
    std::printf("%s:", source);
    for (int i = 0; i < PORT_TABLE_SIZE; ++i)
    {
        if (table[i].present)
            std::printf(" COM%d%s%s", i + 1, table[i].description.empty() ? "" : ":",
                        table[i].description.c_str());
    }
    std::printf("\n");
}

} // namespace

int main(int argc, char** argv)
{
    const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 20;

    PortTable database;
    const bool listed = EnumeratePorts(database);
    std::printf("device database (\"Ports\" class): %s\n",
                listed ? "walked" : "could not be walked");
    PrintTable("  ports it lists", database);
    PortTable probed;
    ProbePorts(probed, true);
    PrintTable("  names with a default configuration", probed);

    std::vector<double> times;
    std::string text;
    int count = 0;
    for (int run = 0; run < runs; ++run)
    {
        LARGE_INTEGER start, end;
        QueryPerformanceCounter(&start);
        BuildPortList(text, count);
        QueryPerformanceCounter(&end);
        times.push_back(Milliseconds(start, end));
    }
    std::sort(times.begin(), times.end());
    std::printf("scan: %d ports listed; %d runs: min %.1f ms, median %.1f ms, max %.1f ms\n", count,
                runs, times.front(), times[times.size() / 2], times.back());
    return 0;
}
