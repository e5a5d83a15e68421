// Simulated port-I/O module for tests and the lab: the same file name and entry points as
// the real module, with the registers kept in memory.
//
// INPOUT32_SIM_INIT  "0x37a=0xff,0x378=0" sets registers when the module loads.
// INPOUT32_SIM_LOG   a file to which every access is appended as a line:
//                    "In32 0x37a 0xff" or "Out32 0x37a 0xfb".
#include <array>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <mutex>
#include <string>

namespace tarnwick {
namespace {
struct SimState {
    std::array<std::uint16_t, 0x10000> registers{};
    std::FILE* pLog = nullptr;
    std::mutex lock;

    SimState() {
        if (const char* pszInit = std::getenv("INPOUT32_SIM_INIT")) {
            std::string strInit = pszInit;
            std::size_t nStart = 0;
            while (nStart < strInit.size()) {
                std::size_t nEnd = strInit.find(',', nStart);
                if (nEnd == std::string::npos)
                    nEnd = strInit.size();
                const std::string strPair = strInit.substr(nStart, nEnd - nStart);
                const std::size_t nEq = strPair.find('=');
                if (nEq != std::string::npos) {
                    const unsigned long nPort = std::strtoul(strPair.c_str(), nullptr, 0);
                    const unsigned long nValue =
                        std::strtoul(strPair.c_str() + nEq + 1, nullptr, 0);
                    registers[nPort & 0xFFFF] = static_cast<std::uint16_t>(nValue);
                }
                nStart = nEnd + 1;
            }
        }
        if (const char* pszLog = std::getenv("INPOUT32_SIM_LOG"))
            pLog = std::fopen(pszLog, "a");
    }
    ~SimState() {
        if (pLog != nullptr)
            std::fclose(pLog);
    }
    void Log(const char* pszOp, unsigned nPort, unsigned nValue) {
        if (pLog == nullptr)
            return;
        std::fprintf(pLog, "%s 0x%x 0x%x\n", pszOp, nPort, nValue);
        std::fflush(pLog);
    }
};

SimState& State() {
    static SimState state;
    return state;
}
} // namespace
} // namespace tarnwick

using tarnwick::SimState;
using tarnwick::State;

extern "C" {
__attribute__((visibility("default"))) unsigned short In32(unsigned short nPort) {
    SimState& s = State();
    std::lock_guard<std::mutex> guard(s.lock);
    const unsigned short nValue = s.registers[nPort];
    s.Log("In32", nPort, nValue);
    return nValue;
}

__attribute__((visibility("default"))) void Out32(unsigned short nPort, unsigned short nValue) {
    SimState& s = State();
    std::lock_guard<std::mutex> guard(s.lock);
    s.registers[nPort] = nValue;
    s.Log("Out32", nPort, nValue);
}
}
