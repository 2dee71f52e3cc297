#include "meter/PortChoice.h"

#include <cctype>
#include <climits>

int ParsePortChoice(const std::string& text)
{
    size_t start = 0;
    while (start < text.size() && std::isspace(static_cast<unsigned char>(text[start])))
        ++start;
    const std::string trimmed = text.substr(start);
    if (trimmed.size() <= 3)
        return 0;

    // atoi without its undefined overflow: an absurdly long number is no port.
    size_t i = 3;
    while (i < trimmed.size() && std::isspace(static_cast<unsigned char>(trimmed[i])))
        ++i;
    bool negative = false;
    if (i < trimmed.size() && (trimmed[i] == '+' || trimmed[i] == '-'))
        negative = trimmed[i++] == '-';
    long long value = 0;
    for (; i < trimmed.size() && std::isdigit(static_cast<unsigned char>(trimmed[i])); ++i)
    {
        value = value * 10 + (trimmed[i] - '0');
        if (value > INT_MAX)
            return 0;
    }
    return negative || value <= 0 ? 0 : static_cast<int>(value);
}
