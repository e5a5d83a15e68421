#include "platform/linux/CDlModuleLoader.h"

#include <dlfcn.h>

namespace tarnwick {

void* CDlModuleLoader::OpenLibrary(const std::string& strFileName) {
    return dlopen(strFileName.c_str(), RTLD_NOW | RTLD_LOCAL);
}

void* CDlModuleLoader::GetProcAddress(void* hModule, const std::string& strName) {
    return dlsym(hModule, strName.c_str());
}

void CDlModuleLoader::FreeLibrary(void* hModule) {
    dlclose(hModule);
}

} // namespace tarnwick
