#include "meter/PortScan.h"

#include "toolkit/SystemLibrary.h"

#include "toolkit/TextConv.h"

#include <windows.h>

#include <setupapi.h>

#include <memory>
#include <new>
#include <string>

namespace
{

// The six functions of setupapi.dll the enumeration uses, looked up by name.
struct SetupApi
{
    explicit SetupApi(const SystemLibrary& library)
        : classGuidsFromName(
              library.Find<decltype(SetupDiClassGuidsFromNameW)>("SetupDiClassGuidsFromNameW")),
          getClassDevs(library.Find<decltype(SetupDiGetClassDevsW)>("SetupDiGetClassDevsW")),
          enumDeviceInfo(library.Find<decltype(SetupDiEnumDeviceInfo)>("SetupDiEnumDeviceInfo")),
          openDevRegKey(library.Find<decltype(SetupDiOpenDevRegKey)>("SetupDiOpenDevRegKey")),
          getDeviceRegistryProperty(library.Find<decltype(SetupDiGetDeviceRegistryPropertyW)>(
              "SetupDiGetDeviceRegistryPropertyW")),
          destroyDeviceInfoList(
              library.Find<decltype(SetupDiDestroyDeviceInfoList)>("SetupDiDestroyDeviceInfoList"))
    {
    }
    bool Complete() const
    {
        return classGuidsFromName && getClassDevs && enumDeviceInfo && openDevRegKey &&
               getDeviceRegistryProperty && destroyDeviceInfoList;
    }

    decltype(SetupDiClassGuidsFromNameW)* classGuidsFromName;
    decltype(SetupDiGetClassDevsW)* getClassDevs;
    decltype(SetupDiEnumDeviceInfo)* enumDeviceInfo;
    decltype(SetupDiOpenDevRegKey)* openDevRegKey;
    decltype(SetupDiGetDeviceRegistryPropertyW)* getDeviceRegistryProperty;
    decltype(SetupDiDestroyDeviceInfoList)* destroyDeviceInfoList;
};

class DeviceList
{
public:
    DeviceList(HDEVINFO list, const SetupApi& api) : list_(list), api_(api) {}
    ~DeviceList() { api_.destroyDeviceInfoList(list_); }
    DeviceList(const DeviceList&) = delete;
    DeviceList& operator=(const DeviceList&) = delete;

private:
    HDEVINFO list_;
    const SetupApi& api_;
};

class RegistryKey
{
public:
    explicit RegistryKey(HKEY key) : key_(key) {}
    ~RegistryKey()
    {
        if (Valid())
            RegCloseKey(key_);
    }
    RegistryKey(const RegistryKey&) = delete;
    RegistryKey& operator=(const RegistryKey&) = delete;

    bool Valid() const { return key_ != nullptr && key_ != INVALID_HANDLE_VALUE; }
    HKEY Get() const { return key_; }

private:
    HKEY key_;
};

constexpr DWORD TEXT_CHARS = 256; // "PortName" and the description are read up to this length

// The text of a string read into a buffer, which the system need not have terminated.
std::string TextOf(const wchar_t* buffer, DWORD bytes)
{
    const size_t chars = bytes / sizeof(wchar_t);
    std::wstring text(buffer, chars < TEXT_CHARS ? chars : TEXT_CHARS);
    text.resize(text.find(L'\0') == std::wstring::npos ? text.size() : text.find(L'\0'));
    return WideToUtf8(text);
}

// The port the device's "PortName" names, or 0.
int PortOfDevice(const SetupApi& api, HDEVINFO list, SP_DEVINFO_DATA& device)
{
    const RegistryKey key(
        api.openDevRegKey(list, &device, DICS_FLAG_GLOBAL, 0, DIREG_DEV, KEY_QUERY_VALUE));
    if (!key.Valid())
        return 0;
    wchar_t name[TEXT_CHARS] = {};
    DWORD type = 0;
    DWORD bytes = sizeof(name);
    if (RegQueryValueExW(key.Get(), L"PortName", nullptr, &type, reinterpret_cast<BYTE*>(name),
                         &bytes) != ERROR_SUCCESS ||
        type != REG_SZ)
        return 0;
    return PortNumberOfName(TextOf(name, bytes));
}

std::string DescriptionOfDevice(const SetupApi& api, HDEVINFO list, SP_DEVINFO_DATA& device)
{
    wchar_t description[TEXT_CHARS] = {};
    DWORD bytes = 0;
    if (!api.getDeviceRegistryProperty(list, &device, SPDRP_DEVICEDESC, nullptr,
                                       reinterpret_cast<BYTE*>(description), sizeof(description),
                                       &bytes))
        return {};
    return TextOf(description, bytes < sizeof(description) ? bytes : sizeof(description));
}

} // namespace

bool EnumeratePorts(PortTable& table)
{
    const SystemLibrary library(L"setupapi.dll");
    if (!library)
        return false;
    const SetupApi api(library);
    if (!api.Complete())
        return false;

    DWORD count = 0;
    api.classGuidsFromName(L"Ports", nullptr, 0, &count);
    if (count == 0)
        return false;
    std::unique_ptr<GUID[]> guids(new (std::nothrow) GUID[count]);
    if (!guids || !api.classGuidsFromName(L"Ports", guids.get(), count, &count))
        return false;
    const HDEVINFO list = api.getClassDevs(&guids[0], nullptr, nullptr, DIGCF_PRESENT);
    guids.reset();
    if (list == INVALID_HANDLE_VALUE)
        return false;
    const DeviceList owner(list, api);

    SP_DEVINFO_DATA device{};
    for (DWORD index = 0;; ++index)
    {
        device.cbSize = sizeof(device);
        if (!api.enumDeviceInfo(list, index, &device))
            break;
        const int port = PortOfDevice(api, list, device);
        if (port == 0)
            continue;
        PortEntry& entry = table[port - 1];
        entry.present = true;
        std::string description = DescriptionOfDevice(api, list, device);
        if (!description.empty())
            entry.description = std::move(description);
    }
    return true;
}

void ProbePorts(PortTable& table, bool force)
{
    // GetDefaultCommConfig loads the configuration provider for every name it is asked about;
    // held loaded for the whole probe, 256 names take milliseconds instead of many seconds.
    const SystemLibrary provider(L"serialui.dll");
    for (int i = 0; i < PORT_TABLE_SIZE; ++i)
    {
        if (!force && table[i].present)
            continue;
        const std::wstring name = L"COM" + std::to_wstring(i + 1);
        COMMCONFIG config{};
        config.dwSize = sizeof(config);
        DWORD size = sizeof(config);
        if (GetDefaultCommConfigW(name.c_str(), &config, &size))
            table[i].present = true;
    }
}

bool BuildPortList(std::string& text, int& presentCount)
{
    PortTable table;
    const bool listed = EnumeratePorts(table);
    ProbePorts(table, !listed);
    return BuildPortListText(table, text, presentCount);
}
