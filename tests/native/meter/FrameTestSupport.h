#pragma once

// Frames and record comparisons shared by the meter tests.

#include "meter/MeterReading.h"

#include <cstdint>
#include <cstring>
#include <set>
#include <string>
#include <vector>

namespace frame_test
{

using Bytes = std::vector<std::uint8_t>;

// The worked-example frames of the meter's documentation.
inline const Bytes EXAMPLE_KLX_17 = {0x00, 0x01, 0x40, 0x43, 0x32, 0x3D, 0x32, 0x30, 0x34,
                                     0x30, 0x31, 0x32, 0x33, 0x34, 0x38, 0x33, 0x0D};
inline const Bytes EXAMPLE_NEGATIVE_17 = {0x00, 0x01, 0x40, 0x43, 0x38, 0x35, 0x30, 0x30, 0x30,
                                          0x2D, 0x30, 0x30, 0x34, 0x32, 0x37, 0x34, 0x0D};
inline const Bytes EXAMPLE_TWO_CHANNELS_24 = {0x00, 0x01, 0x40, 0x48, 0x38, 0x31, 0x3B, 0x30,
                                              0x37, 0x30, 0x30, 0x30, 0x30, 0x35, 0x36, 0x37,
                                              0x31, 0x32, 0x33, 0x34, 0x35, 0x3F, 0x35, 0x0D};
inline const Bytes EXAMPLE_ERRORS_24 = {0x00, 0x01, 0x40, 0x48, 0x35, 0x32, 0x30, 0x30,
                                        0x37, 0x30, 0x30, 0x30, 0x31, 0x30, 0x30, 0x30,
                                        0x30, 0x30, 0x30, 0x30, 0x30, 0x3C, 0x38, 0x0D};

// Rewrites the two checksum characters (as 0x30 + nibble) after a test has edited the frame.
inline Bytes WithChecksum(Bytes frame)
{
    const std::size_t n = frame.size();
    unsigned sum = 0;
    for (std::size_t i = 0; i + 3 < n; ++i)
    {
        sum += frame[i];
    }
    frame[n - 3] = static_cast<std::uint8_t>(0x30 + ((sum >> 4) & 0x0F));
    frame[n - 2] = static_cast<std::uint8_t>(0x30 + (sum & 0x0F));
    return frame;
}

// A frame with some characters replaced (and the checksum made good again).
inline Bytes Edited(Bytes frame, std::size_t at, const std::string& chars)
{
    for (std::size_t i = 0; i < chars.size(); ++i)
    {
        frame.at(at + i) = static_cast<std::uint8_t>(chars[i]);
    }
    return WithChecksum(frame);
}

// A record in which no field holds a value that a frame could give, so that every store shows.
inline MeterReading Sentinel()
{
    MeterReading r;
    r.noReadingYet = 77;
    r.frameLength = 77;
    r.wholeUnits1 = 77;
    r.wholeUnits2 = 77;
    r.calibrationError = 77;
    r.unitKlx = 77;
    r.measurementError = 77;
    r.secondChannel = 77;
    r.measurementError2 = 77;
    r.measurementError1 = 77;
    r.range1 = 77;
    r.range2 = 77;
    r.deviceNumber = -777777;
    r.value1 = -7.77e77;
    r.value2 = -7.77e77;
    std::memset(r.frame, 0xA5, sizeof r.frame);
    return r;
}

// Names of the fields that differ; doubles are compared bit for bit.
inline std::set<std::string> ChangedFields(const MeterReading& a, const MeterReading& b)
{
    std::set<std::string> changed;
    auto check = [&](const char* name, bool same)
    {
        if (!same)
        {
            changed.insert(name);
        }
    };
    check("noReadingYet", a.noReadingYet == b.noReadingYet);
    check("frameLength", a.frameLength == b.frameLength);
    check("wholeUnits1", a.wholeUnits1 == b.wholeUnits1);
    check("wholeUnits2", a.wholeUnits2 == b.wholeUnits2);
    check("calibrationError", a.calibrationError == b.calibrationError);
    check("unitKlx", a.unitKlx == b.unitKlx);
    check("measurementError", a.measurementError == b.measurementError);
    check("secondChannel", a.secondChannel == b.secondChannel);
    check("measurementError2", a.measurementError2 == b.measurementError2);
    check("measurementError1", a.measurementError1 == b.measurementError1);
    check("range1", a.range1 == b.range1);
    check("range2", a.range2 == b.range2);
    check("deviceNumber", a.deviceNumber == b.deviceNumber);
    check("value1", std::memcmp(&a.value1, &b.value1, sizeof a.value1) == 0);
    check("value2", std::memcmp(&a.value2, &b.value2, sizeof a.value2) == 0);
    check("frame", std::memcmp(a.frame, b.frame, sizeof a.frame) == 0);
    return changed;
}

} // namespace frame_test
