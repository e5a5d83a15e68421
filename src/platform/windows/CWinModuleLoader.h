#pragma once

#include "platform/IModuleLoader.h"

namespace tarnwick {

// Loads DLLs through the system's safe search: the program's own folder, then the system
// folders; never the current folder.
class CWinModuleLoader : public IModuleLoader {
public:
    void* OpenLibrary(const std::string& strFileName) override;
    void* GetProcAddress(void* hModule, const std::string& strName) override;
    void FreeLibrary(void* hModule) override;
};

} // namespace tarnwick
