#include "meter/PortList.h"

#include <cctype>
#include <climits>
#include <new>
#include <stdexcept>

namespace
{

constexpr char COM[] = "COM";
constexpr size_t COM_LENGTH = 3;
constexpr int HIGHEST_NAMED_PORT = 255; // a device naming COM256 is not taken from the database

bool IsDigit(char c)
{
    return std::isdigit(static_cast<unsigned char>(c)) != 0;
}

// The value of the digits from `pos` on, stopping at the first non-digit; `end` is where it
// stopped. Values beyond `limit` are held at limit + 1 so that no digit string overflows.
long long ReadDigits(const std::string& text, size_t pos, size_t& end, long long limit)
{
    long long value = 0;
    for (end = pos; end < text.size() && IsDigit(text[end]); ++end)
    {
        if (value <= limit)
            value = value * 10 + (text[end] - '0');
    }
    return value > limit ? limit + 1 : value;
}

// A description goes on one line of the list text: a line break in it (odd data in the device
// database) would split it into an entry of its own.
std::string OnOneLine(std::string text)
{
    for (char& c : text)
    {
        if (c == '\n' || c == '\r')
            c = ' ';
    }
    return text;
}

} // namespace

int PortNumberOfName(const std::string& portName)
{
    if (portName.size() <= COM_LENGTH || portName.compare(0, COM_LENGTH, COM) != 0)
        return 0;
    size_t end = 0;
    const long long number = ReadDigits(portName, COM_LENGTH, end, HIGHEST_NAMED_PORT);
    if (end != portName.size() || number < 1 || number > HIGHEST_NAMED_PORT)
        return 0;
    return static_cast<int>(number);
}

std::string WithoutPortEnding(const std::string& description)
{
    static const std::string opening = " (COM";
    const size_t start = description.find(opening);
    if (start == std::string::npos)
        return description;
    const size_t digits = start + opening.size();
    size_t end = 0;
    ReadDigits(description, digits, end, 0);
    if (end == digits || end + 1 != description.size() || description[end] != ')')
        return description;
    return description.substr(0, start);
}

bool BuildPortListText(const PortTable& table, std::string& text, int& presentCount)
{
    presentCount = 0;
    size_t size = 1;
    for (const PortEntry& entry : table)
    {
        if (entry.present)
        {
            ++presentCount;
            size += entry.description.size() + 10;
        }
    }
    std::string built;
    try
    {
        built.reserve(size);
    }
    catch (const std::bad_alloc&)
    {
        return false;
    }
    catch (const std::length_error&)
    {
        return false;
    }
    for (int i = 0; i < PORT_TABLE_SIZE; ++i)
    {
        const PortEntry& entry = table[i];
        if (!entry.present)
            continue;
        built += COM + std::to_string(i + 1);
        if (!entry.description.empty())
            built += ":" + OnOneLine(WithoutPortEnding(entry.description));
        built += "\n";
    }
    text = std::move(built);
    return true;
}

std::vector<std::string> PortListEntries(const std::string& listText)
{
    std::vector<std::string> entries;
    size_t start = 0;
    for (size_t end = listText.find('\n'); end != std::string::npos;
         start = end + 1, end = listText.find('\n', start))
    {
        if (end == start)
            continue;
        const std::string line = listText.substr(start, end - start);
        const size_t colon = line.find(':');
        entries.push_back(colon == std::string::npos
                              ? line
                              : line.substr(0, colon) + " (" + line.substr(colon + 1) + ")");
    }
    return entries;
}

int PreselectedEntry(const std::vector<std::string>& entries, int portInUse)
{
    if (portInUse == 0)
        return -1;
    const std::string name = COM + std::to_string(portInUse);
    int selected = -1;
    for (size_t i = 0; i < entries.size(); ++i)
    {
        const std::string& entry = entries[i];
        if (entry.compare(0, name.size(), name) == 0 &&
            (entry.size() == name.size() || !IsDigit(entry[name.size()])))
            selected = static_cast<int>(i);
    }
    return selected;
}

int ParsePortChoice(const std::string& text)
{
    size_t start = 0;
    while (start < text.size() && std::isspace(static_cast<unsigned char>(text[start])))
        ++start;
    if (text.size() - start <= COM_LENGTH)
        return 0;

    // atoi, without its undefined overflow: an absurdly long number is no port.
    size_t i = start + COM_LENGTH;
    while (i < text.size() && std::isspace(static_cast<unsigned char>(text[i])))
        ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-'))
        negative = text[i++] == '-';
    size_t end = 0;
    const long long value = ReadDigits(text, i, end, INT_MAX);
    return negative || value <= 0 || value > INT_MAX ? 0 : static_cast<int>(value);
}
