#pragma once

#include "platform/IModuleLoader.h"

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace tarnwick {

// A port-I/O module in memory. The module's entry points are plain C functions, which
// cannot carry an object, so the registers of the module loaded last are the ones they
// reach; each test constructs its own loader.
class CFakePortModule : public IModuleLoader {
public:
    CFakePortModule();
    ~CFakePortModule() override;
    CFakePortModule(const CFakePortModule&) = delete;
    CFakePortModule& operator=(const CFakePortModule&) = delete;

    void* OpenLibrary(const std::string& strFileName) override;
    void* GetProcAddress(void* hModule, const std::string& strName) override;
    void FreeLibrary(void* hModule) override;

    bool m_bPresent = true;  // the module can be loaded
    bool m_bHasOut32 = true; // it exports Out32 (In32 always)
    std::string m_strRequested;
    std::array<std::uint16_t, 0x10000> m_registers{};
    // Every access in order: "in 37a" / "out 37a fb" (hexadecimal).
    std::vector<std::string> m_log;
};

} // namespace tarnwick
