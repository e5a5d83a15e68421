#include "CFakePortModule.h"

#include <cstdio>

namespace tarnwick {

namespace {
CFakePortModule* g_pActive = nullptr;

std::string Hex(unsigned n) {
    char buf[16];
    std::snprintf(buf, sizeof buf, "%x", n);
    return buf;
}

unsigned short FakeIn32(unsigned short nPort) {
    g_pActive->m_log.push_back("in " + Hex(nPort));
    return g_pActive->m_registers[nPort];
}

void FakeOut32(unsigned short nPort, unsigned short nValue) {
    g_pActive->m_log.push_back("out " + Hex(nPort) + " " + Hex(nValue));
    g_pActive->m_registers[nPort] = nValue;
}
} // namespace

CFakePortModule::CFakePortModule() {
    g_pActive = this;
}

CFakePortModule::~CFakePortModule() {
    if (g_pActive == this)
        g_pActive = nullptr;
}

void* CFakePortModule::OpenLibrary(const std::string& strFileName) {
    m_strRequested = strFileName;
    if (!m_bPresent)
        return nullptr;
    g_pActive = this;
    return this;
}

void* CFakePortModule::GetProcAddress(void* hModule, const std::string& strName) {
    if (hModule != this)
        return nullptr;
    if (strName == "In32")
        return reinterpret_cast<void*>(&FakeIn32);
    if (strName == "Out32" && m_bHasOut32)
        return reinterpret_cast<void*>(&FakeOut32);
    return nullptr;
}

void CFakePortModule::FreeLibrary(void*) {}

} // namespace tarnwick
