#include "app/AppSettings.h"

#include <cmath>
#include <limits>

namespace
{

constexpr double STORED_MAX = std::numeric_limits<std::uint32_t>::max();
// K * 1000 carries the error of K's binary form (about 1e-16 relative); 4.007 * 1000 is
// 4006.9999999999995. Far below a thousandth of any K, far above that error.
constexpr double WHOLE_NUMBER_TOLERANCE = 1e-12;

} // namespace

bool operator==(const AppSettings& a, const AppSettings& b)
{
    return a.background == b.background && a.text == b.text && a.showUnit == b.showUnit &&
           a.deviceUnit == b.deviceUnit && a.isUnit == b.isUnit && a.fontHeight == b.fontHeight &&
           a.fontName == b.fontName && a.fontItalic == b.fontItalic &&
           a.fontWeight == b.fontWeight && a.portNr == b.portNr && a.fileName == b.fileName &&
           a.fileLog == b.fileLog && a.fileLogCanal1 == b.fileLogCanal1 &&
           a.fileLogCanal2 == b.fileLogCanal2 && a.fileSepFormat == b.fileSepFormat &&
           a.fileInterval == b.fileInterval && a.topmost == b.topmost && a.unitK == b.unitK &&
           a.showAdv == b.showAdv;
}

std::uint32_t KToStored(double k)
{
    if (std::isnan(k))
        return DEFAULT_UNIT_K_STORED;
    double thousandths = k * 1000.0;
    if (!(thousandths > 0.0))
        return 0;
    if (thousandths >= STORED_MAX)
        return std::numeric_limits<std::uint32_t>::max();
    const double whole = std::round(thousandths);
    if (std::fabs(thousandths - whole) <= thousandths * WHOLE_NUMBER_TOLERANCE)
        thousandths = whole;
    return static_cast<std::uint32_t>(thousandths); // in range: truncation is defined
}

double StoredToK(std::uint32_t stored)
{
    return static_cast<double>(stored) * 0.001;
}

std::uint32_t SignedToStored(int value)
{
    return static_cast<std::uint32_t>(value); // modular: defined for every int
}

int StoredToSigned(std::uint32_t stored)
{
    if (stored <= static_cast<std::uint32_t>(std::numeric_limits<int>::max()))
        return static_cast<int>(stored);
    // Above INT_MAX: the two's complement negative, computed without an out-of-range cast.
    return -static_cast<int>(~stored) - 1;
}

std::uint32_t StoredDword(const AppSettings& s, SettingId id)
{
    switch (id)
    {
    case SettingId::Background:
        return s.background;
    case SettingId::Text:
        return s.text;
    case SettingId::ShowUnit:
        return SignedToStored(s.showUnit);
    case SettingId::DeviceUnit:
        return SignedToStored(s.deviceUnit);
    case SettingId::IsUnit:
        return SignedToStored(s.isUnit);
    case SettingId::FontHeight:
        return SignedToStored(s.fontHeight);
    case SettingId::FontItalic:
        return s.fontItalic;
    case SettingId::FontWeight:
        return SignedToStored(s.fontWeight);
    case SettingId::PortNr:
        return SignedToStored(s.portNr);
    case SettingId::FileLog:
        return SignedToStored(s.fileLog);
    case SettingId::FileLogCanal1:
        return SignedToStored(s.fileLogCanal1);
    case SettingId::FileLogCanal2:
        return SignedToStored(s.fileLogCanal2);
    case SettingId::FileSepFormat:
        return SignedToStored(s.fileSepFormat);
    case SettingId::FileInterval:
        return SignedToStored(s.fileInterval);
    case SettingId::Topmost:
        return SignedToStored(s.topmost);
    case SettingId::UnitK:
        return KToStored(s.unitK);
    case SettingId::ShowAdv:
        return SignedToStored(s.showAdv);
    case SettingId::FontName:
    case SettingId::FileName:
        break;
    }
    return 0;
}

void ApplyStoredDword(AppSettings& s, SettingId id, std::uint32_t stored)
{
    switch (id)
    {
    case SettingId::Background:
        s.background = stored;
        break;
    case SettingId::Text:
        s.text = stored;
        break;
    case SettingId::ShowUnit:
        s.showUnit = StoredToSigned(stored);
        break;
    case SettingId::DeviceUnit:
        s.deviceUnit = StoredToSigned(stored);
        break;
    case SettingId::IsUnit:
        s.isUnit = StoredToSigned(stored);
        break;
    case SettingId::FontHeight:
        s.fontHeight = StoredToSigned(stored);
        break;
    case SettingId::FontItalic:
        s.fontItalic = StoredToItalic(stored);
        break;
    case SettingId::FontWeight:
        s.fontWeight = StoredToSigned(stored);
        break;
    case SettingId::PortNr:
        s.portNr = StoredToSigned(stored);
        break;
    case SettingId::FileLog:
        s.fileLog = StoredToSigned(stored);
        break;
    case SettingId::FileLogCanal1:
        s.fileLogCanal1 = StoredToSigned(stored);
        break;
    case SettingId::FileLogCanal2:
        s.fileLogCanal2 = StoredToSigned(stored);
        break;
    case SettingId::FileSepFormat:
        s.fileSepFormat = StoredToSigned(stored);
        break;
    case SettingId::FileInterval:
        s.fileInterval = StoredToSigned(stored);
        break;
    case SettingId::Topmost:
        s.topmost = StoredToSigned(stored);
        break;
    case SettingId::UnitK:
        s.unitK = StoredToK(stored);
        break;
    case SettingId::ShowAdv:
        s.showAdv = StoredToSigned(stored);
        break;
    case SettingId::FontName:
    case SettingId::FileName:
        break;
    }
}

std::string* TextSetting(AppSettings& s, SettingId id)
{
    const AppSettings& constSettings = s;
    return const_cast<std::string*>(TextSetting(constSettings, id));
}

const std::string* TextSetting(const AppSettings& s, SettingId id)
{
    if (id == SettingId::FontName)
        return &s.fontName;
    if (id == SettingId::FileName)
        return &s.fileName;
    return nullptr;
}
