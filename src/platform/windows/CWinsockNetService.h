#pragma once

#include "platform/INetService.h"

#include <chrono>
#include <optional>

namespace tarnwick {

class ILog;

// IPv4 over Winsock for the reachability probe. The name look-up and the connect that
// follows it share one time budget (21 s, as long as a Windows connect waits by itself), so
// that a probe never holds the program longer, even when the name server does not answer.
class CWinsockNetService : public INetService {
public:
    explicit CWinsockNetService(ILog& log, int nBudgetMs = 21000);
    ~CWinsockNetService() override;
    CWinsockNetService(const CWinsockNetService&) = delete;
    CWinsockNetService& operator=(const CWinsockNetService&) = delete;

    bool InetAddr(const std::string& strDotted, std::uint32_t& nAddr) override;
    bool ResolveIPv4(const std::string& strHost, std::uint32_t& nAddr) override;
    bool Connect(std::uint32_t nAddr, std::uint16_t nPort) override;

private:
    using Clock = std::chrono::steady_clock;
    ILog& m_log;
    std::chrono::milliseconds m_budget;
    bool m_bStarted = false;
    // Set by a look-up: the end of the budget that the following connect shares.
    std::optional<Clock::time_point> m_deadline;
};

} // namespace tarnwick
