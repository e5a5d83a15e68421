#pragma once

#include "platform/IModuleLoader.h"

// Shared libraries through the dynamic loader (dlopen): a bare file name is searched on
// LD_LIBRARY_PATH, the program's RUNPATH and the system folders.
class CDlModuleLoader : public IModuleLoader {
public:
    void* LoadLibrary(const std::string& strFileName) override;
    void* GetProcAddress(void* hModule, const std::string& strName) override;
    void FreeLibrary(void* hModule) override;
};
