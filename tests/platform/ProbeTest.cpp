// The probe's portable part: how a text names a host and port, and how one probe spends its
// time bound over the lookup and the addresses and ends on a quit request.
#include "platform/CProbeConnector.h"
#include "platform/CProbeTarget.h"
#include "platform/IProbeSockets.h"

#include <chrono>
#include <condition_variable>
#include <gtest/gtest.h>
#include <mutex>
#include <thread>

namespace tarnwick {

namespace {

TEST(ProbeTargetTest, ReadsHostAndPortAndRefusesWhatCanNeverConnect) {
    const std::string strLongest(CProbeTarget::kMaxHostLength, 'a');
    struct {
        const char* pszName;
        std::string strText;
        bool bValid;
        std::string strHost;
        unsigned nPort;
    } const rows[] = {
        {"URL with a path", "http://www.example.com/path/page.html", true, "www.example.com", 80},
        {"scheme in capitals, port", "HTTP://WWW.Example.COM:81/x", true, "www.example.com", 81},
        {"dotted address, port", "192.0.2.1:21", true, "192.0.2.1", 21},
        {"secure scheme's port", "https://host/", true, "host", 443},
        {"secure scheme, own port", "HTTPS://host:8443/x", true, "host", 8443},
        {"IPv6 literal with port", "http://[::1]:8080/", true, "::1", 8080},
        {"IPv6 literal alone", "[2001:db8::1]/x", true, "2001:db8::1", 80},
        {"leading colon is a name", ":80", true, ":80", 80},
        {"longest host name", strLongest, true, strLongest, 80},
        {"empty", "", false, "", 0},
        {"path only", "http:///x", false, "", 0},
        {"port out of range", "host:65616", false, "", 0},
        {"port 0", "host:0", false, "", 0},
        {"port not a number", "host:abc", false, "", 0},
        {"negative port", "host: -1", false, "", 0},
        {"other scheme", "ftp://host/", false, "", 0},
        {"IPv6 port out of range", "[::1]:70000", false, "", 0},
        {"IPv6 unclosed", "[::1:80", false, "", 0},
        {"text after IPv6", "[::1]80", false, "", 0},
        {"empty brackets", "[]:80", false, "", 0},
        {"host too long", strLongest + "a:80", false, "", 0},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.pszName);
        CProbeTarget target;
        ASSERT_EQ(target.Parse(row.strText), row.bValid) << target.GetError();
        if (row.bValid) {
            EXPECT_EQ(target.GetHost(), row.strHost);
            EXPECT_EQ(target.GetPort(), row.nPort);
        } else {
            EXPECT_FALSE(target.GetError().empty());
        }
    }
}

// A lookup of "held" waits until the test lets it go.
std::mutex g_heldMutex;
std::condition_variable g_heldCv;
bool g_bHeldLetGo = false;
int g_nHeldInFlight = 0;

// Sockets whose addresses are names: "open" connects, "refused" refuses, "silent" never
// answers. A lookup splits the host at commas; "held" blocks, "none" finds nothing.
class CScriptedSockets : public IProbeSockets {
public:
    static EConnectResult Resolve(const std::string& strHost, bool bLookUp, std::uint16_t nPort,
                                  std::vector<SProbeAddress>& addresses, std::string& strDetail) {
        if (strHost == "held") {
            std::unique_lock<std::mutex> lock(g_heldMutex);
            ++g_nHeldInFlight;
            g_heldCv.wait(lock, [] { return g_bHeldLetGo; });
            --g_nHeldInFlight;
            g_heldCv.notify_all();
        }
        if (strHost == "none" || strHost == "held" || (!bLookUp && strHost != "open")) {
            strDetail = "no such name";
            return EConnectResult::NameNotFound;
        }
        std::string::size_type nStart = 0;
        for (std::string::size_type nComma; nStart <= strHost.size(); nStart = nComma + 1) {
            nComma = std::min(strHost.find(',', nStart), strHost.size());
            const std::string strName =
                strHost.substr(nStart, nComma - nStart) + ":" + std::to_string(nPort);
            addresses.push_back({{strName.begin(), strName.end()}});
        }
        return EConnectResult::Connected;
    }
    ProbeResolveFn GetResolver() const override { return &Resolve; }
    bool StartConnect(const SProbeAddress& address, EConnectResult& result,
                      std::string& strDetail) override {
        m_attempts.emplace_back(address.bytes.begin(), address.bytes.end());
        m_strPending = m_attempts.back().substr(0, m_attempts.back().find(':'));
        return Ended(result, strDetail);
    }
    bool WaitConnect(int nMs, EConnectResult& result, std::string& strDetail) override {
        EXPECT_GT(nMs, 0);
        EXPECT_LE(nMs, CProbeConnector::kSliceMs);
        if (m_strPending == "silent")
            std::this_thread::sleep_for(std::chrono::milliseconds(nMs));
        return !Ended(result, strDetail);
    }
    void CloseConnect() override { m_strPending.clear(); }
    bool IsAborted() override { return m_nAbortAfter >= 0 && m_nAsked++ >= m_nAbortAfter; }

    int m_nAbortAfter = -1; // asked this often before a quit request comes; -1: never
    int m_nAsked = 0;
    std::vector<std::string> m_attempts;

private:
    // False (still pending) for "silent".
    bool Ended(EConnectResult& result, std::string& strDetail) {
        result = m_strPending == "open" ? EConnectResult::Connected : EConnectResult::Refused;
        strDetail = m_strPending;
        return m_strPending == "silent";
    }
    std::string m_strPending;
};

// Every address is tried in its turn within one bound; a silent first address leaves time
// for the next; a quit request ends a pending connect or lookup; a lookup that never answers
// ends at the bound. None of these waits longer than its bound.
TEST(ProbeConnectorTest, SharesTheBoundAndEndsOnQuitRequests) {
    struct {
        const char* pszName;
        const char* pszHost;
        bool bLookUp;
        int nBudgetMs;
        int nAbortAfter;
        EConnectResult expected;
        std::vector<std::string> attempts;
    } const rows[] = {
        {"address used as given", "open", false, 1000, -1, EConnectResult::Connected, {"open:80"}},
        {"silent first address leaves time",
         "silent,open",
         true,
         1000,
         -1,
         EConnectResult::Connected,
         {"silent:80", "open:80"}},
        {"every address tried",
         "refused,refused",
         true,
         1000,
         -1,
         EConnectResult::Refused,
         {"refused:80", "refused:80"}},
        {"name not found", "none", true, 1000, -1, EConnectResult::NameNotFound, {}},
        {"silent host ends at the bound",
         "silent",
         true,
         150,
         -1,
         EConnectResult::TimedOut,
         {"silent:80"}},
        {"quit request first", "open", true, 60000, 0, EConnectResult::Aborted, {}},
        {"quit request while connecting",
         "silent",
         true,
         60000,
         3,
         EConnectResult::Aborted,
         {"silent:80"}},
        {"quit request during a held lookup", "held", true, 60000, 3, EConnectResult::Aborted, {}},
        {"held lookup ends at the bound", "held", true, 150, -1, EConnectResult::TimedOut, {}},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.pszName);
        CScriptedSockets sockets;
        sockets.m_nAbortAfter = row.nAbortAfter;
        std::string strDetail;
        EXPECT_EQ(CProbeConnector(sockets, row.nBudgetMs)
                      .Connect(row.pszHost, row.bLookUp, 80, strDetail),
                  row.expected);
        EXPECT_EQ(sockets.m_attempts, row.attempts);
        EXPECT_FALSE(strDetail.empty());
    }
    // The lookups the probes stopped waiting for end by themselves once let go.
    std::unique_lock<std::mutex> lock(g_heldMutex);
    g_bHeldLetGo = true;
    g_heldCv.notify_all();
    g_heldCv.wait(lock, [] { return g_nHeldInFlight == 0; });
}

} // namespace

} // namespace tarnwick
