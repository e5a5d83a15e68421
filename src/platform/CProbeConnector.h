#pragma once

#include "platform/INetService.h"

#include <chrono>
#include <cstdint>
#include <string>
#include <vector>

namespace tarnwick {

class IProbeSockets;
struct SProbeAddress;

// One probe's connection to a host over the operating system's sockets: the lookup of a
// name, then each of its addresses in turn, all within one time bound (nBudgetMs), so that a
// dead name server or a host that drops packets cannot hold the program longer. A name
// lookup runs on a thread of its own, which the probe stops waiting for at the bound. While
// anything is pending, the quit request is looked at every kSliceMs: a probe in progress
// ends within that time.
class CProbeConnector {
public:
    CProbeConnector(IProbeSockets& sockets, int nBudgetMs);

    EConnectResult Connect(const std::string& strHost, bool bLookUp, std::uint16_t nPort,
                           std::string& strDetail);

    static constexpr int kSliceMs = 100;

private:
    using Clock = std::chrono::steady_clock;
    EConnectResult LookUp(const std::string& strHost, std::uint16_t nPort,
                          std::vector<SProbeAddress>& addresses, std::string& strDetail);
    EConnectResult ConnectOne(const SProbeAddress& address, Clock::time_point until,
                              std::string& strDetail);

    IProbeSockets& m_sockets;
    Clock::time_point m_deadline;
    int m_nBudgetMs;
};

} // namespace tarnwick
