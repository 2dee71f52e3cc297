#include "tests/e2e/LogSeconds.h"

#include <cstdio>
#include <fstream>

std::string LogSeconds(const std::string& path, const std::string& value)
{
    std::ifstream file(path, std::ios::binary);
    std::string line, seen;
    int previous = -1;
    while (std::getline(file, line))
    {
        if (line.rfind("Data i Godzina", 0) == 0)
            continue;
        int h = 0, m = 0, s = 0;
        char field[16] = {};
        if (line.empty() || line.back() != '\r' ||
            std::sscanf(line.c_str(), "%*d.%*d.%*d %d:%d:%d;%15[^\r]", &h, &m, &s, field) != 4)
            return "bad line: " + line;
        const int second = h * 3600 + m * 60 + s;
        if (previous >= 0 && second > previous + 1)
            seen.append(static_cast<std::size_t>(second - previous - 1), '!');
        previous = second;
        seen += field == value ? 'v' : std::string(field) == "???" ? '?' : 'x';
    }
    return seen;
}
