#pragma once

// The meter on the other end of the virtual pair: the meter simulator (qm7xx-sim.exe) run as a
// process of its own, restarted with new options to change what it plays and ended to unplug it.

#include "toolkit/Handles.h"

#include <windows.h>

#include <string>
#include <vector>

// A QM-700 numbered 123 that reads 456.7 W/m2.
inline const std::vector<std::wstring> QM700_WM2{L"--model", L"700", L"--device", L"123",
                                                 L"--unit",  L"wm2", L"--level",  L"456.7"};

class Meter
{
public:
    Meter(const std::wstring& simulatorExe, int comPort) : exe_(simulatorExe), comPort_(comPort) {}
    ~Meter() { Unplug(); }
    Meter(const Meter&) = delete;
    Meter& operator=(const Meter&) = delete;

    // Plays a meter described by simulator options (--model 701 --device 7 ...), instead of
    // whatever it played before. A frame goes out every few hundred milliseconds, all at once.
    // False, with the reason in Failure(), when the simulator does not start or stops at once.
    bool Play(const std::vector<std::wstring>& options);
    // Stops sending, as a meter that is unplugged.
    void Unplug();
    const std::string& Failure() const { return failure_; }

private:
    std::wstring exe_;
    int comPort_;
    UniqueHandle process_;
    std::string failure_;
};
