#pragma once

#include "platform/IDialUpService.h"

#include <functional>
#include <string>
#include <vector>

namespace tarnwick {

// A phone book and its live connections in memory. Dials connect at once (in virtual time)
// unless the entry is listed in m_failingEntries.
class CFakeDialUpService : public IDialUpService {
public:
    struct SConnection {
        std::string strEntry;
        bool bStatusOk = true;
        unsigned nId = 0;
        bool bDialUp = true;
    };

    bool EnumConnections(std::vector<SActiveConnection>& connections) override;
    bool GetConnectStatus(const SActiveConnection& connection) override;
    bool HangUp(const SActiveConnection& connection) override;
    bool EnumEntries(std::vector<std::string>& entries) override;
    bool Dial(const std::string& strEntry) override;

    void Connect(const std::string& strEntry, bool bStatusOk = true, bool bDialUp = true) {
        m_connections.push_back({strEntry, bStatusOk, ++m_nNextId, bDialUp});
    }

    std::vector<std::string> m_entries;
    std::vector<SConnection> m_connections;
    std::vector<std::string> m_failingEntries;
    bool m_bServiceDown = false;
    // Runs inside Dial, as work of a nested event loop would.
    std::function<void()> m_fnDuringDial;
    // What was asked of the service, in order: "dial X", "hangup X".
    std::vector<std::string> m_calls;

private:
    SConnection* Find(const SActiveConnection& connection);
    unsigned m_nNextId = 0;
};

} // namespace tarnwick
