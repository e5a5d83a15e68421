#include "platform/linux/CXdgAutorunStore.h"

#include <utility>

CXdgAutorunStore::CXdgAutorunStore(std::string strConfigDir)
    : m_strConfigDir(std::move(strConfigDir)) {}

bool CXdgAutorunStore::SetRunKeyEntry(bool, const std::string&) {
    return false;
}
bool CXdgAutorunStore::SetWinIniEntry(bool, const std::string&) {
    return false;
}
