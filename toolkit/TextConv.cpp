#include "toolkit/TextConv.h"

#include <windows.h>

namespace
{

constexpr UINT CP_CENTRAL_EUROPEAN = 1250;

std::wstring ToWide(UINT codePage, const std::string& text)
{
    if (text.empty())
        return {};
    const int size = static_cast<int>(text.size());
    const int n = MultiByteToWideChar(codePage, 0, text.data(), size, nullptr, 0);
    if (n <= 0)
        return {};
    std::wstring wide(static_cast<size_t>(n), L'\0');
    MultiByteToWideChar(codePage, 0, text.data(), size, &wide[0], n);
    return wide;
}

std::string FromWide(UINT codePage, const std::wstring& wide)
{
    if (wide.empty())
        return {};
    const int size = static_cast<int>(wide.size());
    const int n = WideCharToMultiByte(codePage, 0, wide.data(), size, nullptr, 0, nullptr, nullptr);
    if (n <= 0)
        return {};
    std::string text(static_cast<size_t>(n), '\0');
    WideCharToMultiByte(codePage, 0, wide.data(), size, &text[0], n, nullptr, nullptr);
    return text;
}

} // namespace

std::wstring Utf8ToWide(const std::string& utf8)
{
    return ToWide(CP_UTF8, utf8);
}
std::string WideToUtf8(const std::wstring& wide)
{
    return FromWide(CP_UTF8, wide);
}
std::string WideToCp1250(const std::wstring& wide)
{
    return FromWide(CP_CENTRAL_EUROPEAN, wide);
}
std::wstring Cp1250ToWide(const std::string& bytes)
{
    return ToWide(CP_CENTRAL_EUROPEAN, bytes);
}
