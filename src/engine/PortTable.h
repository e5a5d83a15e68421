#pragma once

#include <array>
#include <cstdint>

namespace tarnwick {

// The parallel ports the resetter can be wired to; the index is iLptPort.
struct SPortTableEntry {
    const char* pszName;
    std::int32_t nDataPort;
    std::int32_t nCtrlPort;
};

inline constexpr std::array<SPortTableEntry, 4> g_PortTable{{
    {"<none>", 0, 0},
    {"LPT1", 0x378, 0x37A},
    {"LPT2", 0x278, 0x27A},
    {"LPT3", 0x3BC, 0x3BE},
}};

// File name of the port-I/O module and its two entry points.
inline constexpr const char* kPortLibName = "libinpout32.so";
using PFN_IN32 = unsigned short (*)(unsigned short);
using PFN_OUT32 = void (*)(unsigned short, unsigned short);

} // namespace tarnwick
