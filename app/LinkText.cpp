#include "app/LinkText.h"

#include <cstdio>

namespace
{

constexpr unsigned long ERROR_BAD_EXE_FORMAT_CODE = 193;
constexpr int BAD_FORMAT_CODE = 11;
constexpr int LAST_START_FAILURE_CODE = 31;

const char* KnownErrorText(int code)
{
    switch (code)
    {
    case 0:
        return "The operating system is out\nof memory or resources.";
    case 2:
        return "The specified file was not found.";
    case 3:
        return "The specified path was not found.";
    case 5:
        return "The operating system denied\naccess to the specified file.";
    case 8:
        return "There was not enough memory to complete the operation.";
    case BAD_FORMAT_CODE:
        return "The .EXE file is invalid\n(non-Win32 .EXE or error in .EXE image).";
    case 26:
        return "A sharing violation occurred. ";
    case 27:
        return "The filename association is\nincomplete or invalid.";
    case 28:
        return "The DDE transaction could not\nbe completed because the request timed out.";
    case 29:
        return "The DDE transaction failed.";
    case 30:
        return "The DDE transaction could not\nbe completed because other DDE "
               "transactions\nwere being processed.";
    case 31:
        return "There is no application associated\nwith the given filename extension.";
    case 32:
        return "The specified dynamic-link library was not found.";
    default:
        return nullptr;
    }
}

} // namespace

std::string OpenErrorText(int code)
{
    std::string text = "Unable to open hyperlink:\n\n";
    if (const char* known = KnownErrorText(code))
        return text + known;
    char unknown[48];
    std::snprintf(unknown, sizeof unknown, "Unknown Error (%d) occurred.", code);
    return text + unknown;
}

std::string BuildOpenCommand(const std::string& registeredCommand, const std::string& target)
{
    // In UTF-8 no byte of a multi-byte character is a quote, a percent sign or a digit, so a plain
    // byte search finds only the placeholder itself.
    std::string command = registeredCommand;
    std::size_t placeholder = command.find("\"%1\"");
    if (placeholder == std::string::npos)
        placeholder = command.find("%1");
    if (placeholder != std::string::npos)
        command.erase(placeholder);
    return command + " " + target;
}

int FailedStartCode(unsigned long systemError)
{
    if (systemError == ERROR_BAD_EXE_FORMAT_CODE)
        return BAD_FORMAT_CODE;
    if (systemError <= static_cast<unsigned long>(LAST_START_FAILURE_CODE))
        return static_cast<int>(systemError);
    return 0;
}
