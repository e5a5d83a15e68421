#include "platform/windows/Win32.h"

#include "platform/windows/CWinModuleLoader.h"

namespace tarnwick {

void* CWinModuleLoader::OpenLibrary(const std::string& strFileName) {
    return LoadLibraryExA(strFileName.c_str(), nullptr, LOAD_LIBRARY_SEARCH_DEFAULT_DIRS);
}

void* CWinModuleLoader::GetProcAddress(void* hModule, const std::string& strName) {
    return reinterpret_cast<void*>(
        ::GetProcAddress(static_cast<HMODULE>(hModule), strName.c_str()));
}

void CWinModuleLoader::FreeLibrary(void* hModule) {
    ::FreeLibrary(static_cast<HMODULE>(hModule));
}

} // namespace tarnwick
