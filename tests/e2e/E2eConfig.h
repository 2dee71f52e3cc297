#pragma once

// Where the end-to-end tier finds what it drives, as the build tree set it up, and the waiting
// helper every scenario uses.

#include "toolkit/Handles.h"

#include <windows.h>

#include <functional>
#include <string>

constexpr int PROGRAM_PORT = QM_E2E_PROGRAM_PORT; // the program listens here
constexpr int METER_PORT = QM_E2E_METER_PORT;     // the meter talks here

// A build-tree path as Windows programs see it. Under Wine the build tree is a Linux path, which
// the prefix's drive Z: (the Linux root) reaches.
std::wstring WindowsPath(const std::string& buildPath);

inline const auto ProgramPath = [] { return WindowsPath(QM_E2E_PROGRAM); };
inline const auto SimulatorPath = [] { return WindowsPath(QM_E2E_SIMULATOR); };

// Polls `done` every pollMs until it holds or timeoutMs has passed; answers done().
bool WaitUntil(const std::function<bool()>& done, DWORD timeoutMs, DWORD pollMs = 50);

// Starts a program with a command line (under Wine also a Linux program by its Windows path, which
// gives no process handle back). The process, or none with the reason in `failure`.
UniqueHandle StartProcess(const std::wstring& exe, std::wstring commandLine, std::string& failure,
                          DWORD* processId = nullptr);
