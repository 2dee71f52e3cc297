#pragma once

// The DCB's switches as one 32-bit word. The Windows headers declare them as C bit-fields, whose
// layout C++ leaves to the compiler; the Windows ABI fixes them in the DWORD that follows
// DCBlength and BaudRate, and every compiler for Windows lays them out that way. Reading and
// writing that word through memcpy lets the port code use the flag masks directly, the same with
// MinGW and MSVC, without type punning.

#include <windows.h>

#include <cstddef>
#include <cstring>

constexpr std::size_t DCB_FLAGS_OFFSET = offsetof(DCB, BaudRate) + sizeof(DWORD);
static_assert(offsetof(DCB, wReserved) == DCB_FLAGS_OFFSET + sizeof(DWORD),
              "the DCB's bit-fields must fill exactly one DWORD after BaudRate");

// Bits: 2 fOutxCtsFlow, 3 fOutxDsrFlow, 4-5 fDtrControl, 8 fOutX, 9 fInX, 12-13 fRtsControl.
// Opening: XON/XOFF off, CTS and DSR flow control on, DTR and RTS both in handshake mode (2).
constexpr DWORD DCB_OPEN_CLEAR = 0x1310;
constexpr DWORD DCB_OPEN_SET = 0x202C;
// Closing: every flow-control switch off, DTR and RTS disabled.
constexpr DWORD DCB_CLOSE_CLEAR = 0x333C;

inline DWORD GetDcbFlags(const DCB& dcb)
{
    DWORD flags = 0;
    std::memcpy(&flags, reinterpret_cast<const unsigned char*>(&dcb) + DCB_FLAGS_OFFSET,
                sizeof flags);
    return flags;
}

inline void SetDcbFlags(DCB& dcb, DWORD flags)
{
    std::memcpy(reinterpret_cast<unsigned char*>(&dcb) + DCB_FLAGS_OFFSET, &flags, sizeof flags);
}

inline void ChangeDcbFlags(DCB& dcb, DWORD clear, DWORD set)
{
    SetDcbFlags(dcb, (GetDcbFlags(dcb) & ~clear) | set);
}
