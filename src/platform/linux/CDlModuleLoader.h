#pragma once

#include "platform/IModuleLoader.h"

namespace tarnwick {

// Shared libraries through the dynamic loader (dlopen): a bare file name is searched on
// LD_LIBRARY_PATH, the program's RUNPATH and the system folders.
class CDlModuleLoader : public IModuleLoader {
public:
    void* OpenLibrary(const std::string& strFileName) override;
    void* GetProcAddress(void* hModule, const std::string& strName) override;
    void FreeLibrary(void* hModule) override;
};

} // namespace tarnwick
