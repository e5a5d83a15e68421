// How one probe spends its time bound over the lookup and its addresses, and its quit request.
#include "platform/CProbeConnector.h"
#include "platform/IProbeSockets.h"

#include <future>
#include <gtest/gtest.h>
#include <thread>

namespace tarnwick {

namespace {

// A lookup of "held" waits until the test lets it go. Never destroyed: a lookup the probe
// stopped waiting for may still be returning from its wait when the test program ends.
std::promise<void>& g_letGo = *new std::promise<void>;
const std::shared_future<void>& g_held = *new std::shared_future<void>(g_letGo.get_future());

// A lookup splits the host at commas into addresses ("held" blocks, "none" finds nothing);
// an address "open" connects, "silent" never answers, any other refuses.
class CScriptedSockets : public IProbeSockets {
public:
    static EConnectResult Resolve(const std::string& strHost, bool, std::uint16_t nPort,
                                  std::vector<SProbeAddress>& addresses, std::string& strDetail) {
        if (strHost == "held")
            g_held.wait();
        strDetail = "no such name";
        for (std::size_t n = 0, nEnd = 0; strHost != "none" && n <= strHost.size(); n = nEnd + 1) {
            nEnd = std::min(strHost.find(',', n), strHost.size());
            const std::string strName = strHost.substr(n, nEnd - n) + ":" + std::to_string(nPort);
            addresses.push_back({{strName.begin(), strName.end()}});
        }
        return addresses.empty() ? EConnectResult::NameNotFound : EConnectResult::Connected;
    }
    ProbeResolveFn GetResolver() const override { return &Resolve; }
    bool StartConnect(const SProbeAddress& address, EConnectResult& result,
                      std::string& strDetail) override {
        m_strAttempts += std::string(address.bytes.begin(), address.bytes.end()) + " ";
        m_strPending.assign(address.bytes.begin(), address.bytes.end());
        return !WaitConnect(0, result, strDetail);
    }
    bool WaitConnect(int nMs, EConnectResult& result, std::string& strDetail) override {
        EXPECT_LE(nMs, CProbeConnector::kSliceMs);
        strDetail = m_strPending;
        result = strDetail == "open:80" ? EConnectResult::Connected : EConnectResult::Refused;
        std::this_thread::sleep_for(std::chrono::milliseconds(nMs));
        return strDetail != "silent:80";
    }
    void CloseConnect() override {}
    bool IsAborted() override { return m_nAbortAfter >= 0 && m_nAsked++ >= m_nAbortAfter; }

    int m_nAbortAfter = -1, m_nAsked = 0; // asked this often before a quit request; -1: never
    std::string m_strAttempts, m_strPending;
};

// Every address is tried in its turn within one bound; a silent first address leaves time
// for the next; a quit request ends a pending connect or lookup; so does the bound. A row
// whose answer comes at once has a bound of half a minute, and the others at least a
// second, so that a loaded machine (or Wine, slow to start a thread) has started the
// lookup's thread and made the attempt well before the bound.
TEST(ProbeConnectorTest, SharesTheBoundAndEndsOnQuitRequests) {
    using R = EConnectResult;
    struct {
        const char* pszName;
        const char* pszHost;
        int nBudgetMs, nAbortAfter;
        R expected;
        const char* pszAttempts;
    } const rows[] = {
        {"silent first leaves time", "silent,open", 2000, -1, R::Connected, "silent:80 open:80 "},
        {"every address tried", "no,no", 30000, -1, R::Refused, "no:80 no:80 "},
        {"name not found", "none", 30000, -1, R::NameNotFound, ""},
        {"silent host, bound", "silent", 1000, -1, R::TimedOut, "silent:80 "},
        {"quit request first", "open", 60000, 0, R::Aborted, ""},
        {"quit while connecting", "silent", 60000, 3, R::Aborted, "silent:80 "},
        {"quit during a held lookup", "held", 60000, 3, R::Aborted, ""},
        {"held lookup, bound", "held", 1000, -1, R::TimedOut, ""},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.pszName);
        CScriptedSockets sockets;
        sockets.m_nAbortAfter = row.nAbortAfter;
        std::string strDetail;
        EXPECT_EQ(CProbeConnector(sockets, row.nBudgetMs).Connect(row.pszHost, true, 80, strDetail),
                  row.expected);
        EXPECT_EQ(sockets.m_strAttempts, row.pszAttempts);
        EXPECT_FALSE(strDetail.empty());
    }
    g_letGo.set_value(); // the lookups the probes stopped waiting for end by themselves
}

} // namespace

} // namespace tarnwick
