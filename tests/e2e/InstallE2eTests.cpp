// The release installer as a user meets it, in a Wine prefix made for this run alone: installed
// quietly, the installed program started until its main window shows, then uninstalled.

#include "tests/e2e/E2eConfig.h"
#include "tests/e2e/ProgramUnderTest.h"
#include "tests/e2e/SettingsKey.h"
#include "toolkit/TextConv.h"
#include "toolkit/UniqueOwner.h"

#include <gtest/gtest.h>

#include <shlobj.h>
#include <windows.h>

#include <sstream>
#include <string>
#include <vector>

namespace
{

constexpr DWORD MSIEXEC_TIMEOUT_MS = 120000;
constexpr DWORD SETTINGS_TIMEOUT_MS = 5000;

struct RegKeyTraits
{
    static void Free(HKEY key) { RegCloseKey(key); }
};
using UniqueRegKey = UniqueOwner<HKEY, RegKeyTraits>;

std::vector<std::wstring> PackageFiles()
{
    std::vector<std::wstring> files;
    std::wstringstream list(Utf8ToWide(QM_INSTALL_FILES));
    for (std::wstring file; std::getline(list, file, L'|');)
        files.push_back(file);
    return files;
}

std::wstring ShellFolder(int csidl)
{
    wchar_t path[MAX_PATH] = {};
    SHGetFolderPathW(nullptr, csidl, nullptr, SHGFP_TYPE_CURRENT, path);
    return path;
}

bool Exists(const std::wstring& path)
{
    return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

// The shortcut of a per-machine installation goes to the Start menu of all users; Wine puts every
// installation's shortcuts in the user's.
bool StartMenuShortcutExists()
{
    return Exists(ShellFolder(CSIDL_COMMON_PROGRAMS) + L"\\QM7xx.lnk") ||
           Exists(ShellFolder(CSIDL_PROGRAMS) + L"\\QM7xx.lnk");
}

// The versions shown by the installed programs list for entries with the product's name.
std::vector<std::wstring> InstalledProgramsEntries()
{
    std::vector<std::wstring> versions;
    HKEY opened = nullptr;
    if (RegOpenKeyExW(HKEY_LOCAL_MACHINE,
                      L"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall", 0,
                      KEY_READ | KEY_WOW64_64KEY, &opened) != ERROR_SUCCESS)
        return versions;
    const UniqueRegKey uninstall(opened);
    wchar_t subKey[256];
    for (DWORD i = 0, length = 256; RegEnumKeyExW(uninstall.Get(), i, subKey, &length, nullptr,
                                                  nullptr, nullptr, nullptr) == ERROR_SUCCESS;
         ++i, length = 256)
    {
        wchar_t name[256] = {}, version[64] = {};
        DWORD nameSize = sizeof name, versionSize = sizeof version;
        if (RegGetValueW(uninstall.Get(), subKey, L"DisplayName", RRF_RT_REG_SZ, nullptr, name,
                         &nameSize) == ERROR_SUCCESS &&
            Utf8ToWide(QM_INSTALL_PRODUCT) == name)
        {
            RegGetValueW(uninstall.Get(), subKey, L"DisplayVersion", RRF_RT_REG_SZ, nullptr,
                         version, &versionSize);
            versions.push_back(version);
        }
    }
    return versions;
}

// msiexec with this action (/i, /x) on the release package, without a user interface: it must
// end with 0 in time.
::testing::AssertionResult Msiexec(const std::wstring& action)
{
    std::string failure;
    const std::wstring command =
        L"msiexec " + action + L" \"" + WindowsPath(QM_INSTALL_MSI) + L"\" /qn";
    const UniqueHandle process = StartProcess(L"", command, failure);
    if (!process)
        return ::testing::AssertionFailure() << failure;
    if (WaitForSingleObject(process.Get(), MSIEXEC_TIMEOUT_MS) != WAIT_OBJECT_0)
        return ::testing::AssertionFailure() << WideToUtf8(command) << " did not end in time";
    DWORD code = 0;
    GetExitCodeProcess(process.Get(), &code);
    if (code != 0)
        return ::testing::AssertionFailure() << WideToUtf8(command) << " ended with " << code;
    return ::testing::AssertionSuccess();
}

} // namespace

TEST(Installer, InstallsRunsAndUninstallsLeavingTheUsersSettings)
{
    const std::wstring folder = ShellFolder(CSIDL_PROGRAM_FILES) + L"\\QM7xx";
    ASSERT_FALSE(Exists(folder)) << "the prefix is not fresh";

    ASSERT_TRUE(Msiexec(L"/i"));
    for (const std::wstring& file : PackageFiles())
        EXPECT_TRUE(Exists(folder + L"\\" + file)) << WideToUtf8(file) << " not installed";
    EXPECT_TRUE(StartMenuShortcutExists());
    EXPECT_EQ(InstalledProgramsEntries(),
              std::vector<std::wstring>{Utf8ToWide(QM_INSTALL_VERSION)});

    {
        // The first run: the start-up picture, then the main window, which makes the settings key.
        // The program is ended when it goes out of scope.
        ProgramUnderTest program(folder + L"\\QM7xx.exe");
        ASSERT_TRUE(program.WaitForMainWindow(START_TIMEOUT_MS)) << program.Failure();
        ASSERT_TRUE(
            WaitUntil([] { return settings_key::ValueCount().has_value(); }, SETTINGS_TIMEOUT_MS));
    }

    ASSERT_TRUE(Msiexec(L"/x"));
    for (const std::wstring& file : PackageFiles())
        EXPECT_FALSE(Exists(folder + L"\\" + file)) << WideToUtf8(file) << " left behind";
    EXPECT_FALSE(Exists(folder));
    EXPECT_FALSE(StartMenuShortcutExists());
    EXPECT_TRUE(InstalledProgramsEntries().empty());
    EXPECT_TRUE(settings_key::ValueCount()) << "the uninstall removed the user's settings";
}
