#pragma once

#include <string>

namespace tarnwick {

// Loads shared libraries at run time, like dlopen.
class IModuleLoader {
public:
    virtual ~IModuleLoader() = default;
    // A handle of the loaded module, or nullptr.
    virtual void* OpenLibrary(const std::string& strFileName) = 0;
    // The address of an exported symbol, or nullptr.
    virtual void* GetProcAddress(void* hModule, const std::string& strName) = 0;
    virtual void FreeLibrary(void* hModule) = 0;
};

} // namespace tarnwick
