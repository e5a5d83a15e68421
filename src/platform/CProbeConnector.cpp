#include "platform/CProbeConnector.h"

#include "platform/IProbeSockets.h"

#include <algorithm>
#include <condition_variable>
#include <memory>
#include <mutex>
#include <system_error>
#include <thread>

namespace tarnwick {

namespace {
int MsLeft(std::chrono::steady_clock::time_point until) {
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
        until - std::chrono::steady_clock::now());
    return left.count() <= 0 ? 0 : static_cast<int>(left.count());
}

// What a lookup's thread and the probe share. It lives as long as either needs it: a lookup
// the probe stopped waiting for finishes into it and is freed with it.
struct SLookup {
    std::mutex mutex;
    std::condition_variable done;
    bool bDone = false;
    EConnectResult result = EConnectResult::Unreachable;
    std::vector<SProbeAddress> addresses;
    std::string strDetail;
};
} // namespace

CProbeConnector::CProbeConnector(IProbeSockets& sockets, int nBudgetMs)
    : m_sockets(sockets), m_nBudgetMs(nBudgetMs) {}

EConnectResult CProbeConnector::LookUp(const std::string& strHost, std::uint16_t nPort,
                                       std::vector<SProbeAddress>& addresses,
                                       std::string& strDetail) {
    auto pLookup = std::make_shared<SLookup>();
    const ProbeResolveFn fnResolve = m_sockets.GetResolver();
    try {
        std::thread([pLookup, fnResolve, strHost, nPort] {
            std::vector<SProbeAddress> found;
            std::string strCause;
            const EConnectResult result = fnResolve(strHost, true, nPort, found, strCause);
            const std::lock_guard<std::mutex> lock(pLookup->mutex);
            pLookup->result = result;
            pLookup->addresses = std::move(found);
            pLookup->strDetail = std::move(strCause);
            pLookup->bDone = true;
            pLookup->done.notify_all();
        }).detach();
    } catch (const std::system_error& error) {
        strDetail = std::string("cannot start the name lookup: ") + error.what();
        return EConnectResult::Unreachable;
    }

    std::unique_lock<std::mutex> lock(pLookup->mutex);
    while (!pLookup->bDone) {
        // Without the lock: looking for a quit request may run the frontend's own code.
        lock.unlock();
        const bool bAborted = m_sockets.IsAborted();
        const int nLeft = MsLeft(m_deadline);
        lock.lock();
        if (pLookup->bDone)
            break;
        if (bAborted || nLeft == 0) {
            strDetail = bAborted ? "a quit request came during the name lookup"
                                 : "the name lookup did not answer in time";
            return bAborted ? EConnectResult::Aborted : EConnectResult::TimedOut;
        }
        pLookup->done.wait_for(lock, std::chrono::milliseconds(std::min(nLeft, kSliceMs)));
    }
    strDetail = pLookup->strDetail;
    addresses = std::move(pLookup->addresses);
    return pLookup->result;
}

EConnectResult CProbeConnector::ConnectOne(const SProbeAddress& address, Clock::time_point until,
                                           std::string& strDetail) {
    EConnectResult result = EConnectResult::Unreachable;
    bool bEnded = !m_sockets.StartConnect(address, result, strDetail);
    while (!bEnded) {
        if (m_sockets.IsAborted()) {
            result = EConnectResult::Aborted;
            strDetail = "a quit request came";
            break;
        }
        const int nLeft = MsLeft(until);
        if (nLeft == 0) {
            result = EConnectResult::TimedOut;
            strDetail = "no answer";
            break;
        }
        bEnded = m_sockets.WaitConnect(std::min(nLeft, kSliceMs), result, strDetail);
    }
    m_sockets.CloseConnect();
    return result;
}

EConnectResult CProbeConnector::Connect(const std::string& strHost, bool bLookUp,
                                        std::uint16_t nPort, std::string& strDetail) {
    m_deadline = Clock::now() + std::chrono::milliseconds(m_nBudgetMs);
    if (m_sockets.IsAborted()) {
        strDetail = "a quit request came first";
        return EConnectResult::Aborted;
    }
    std::vector<SProbeAddress> addresses;
    EConnectResult result =
        bLookUp ? LookUp(strHost, nPort, addresses, strDetail)
                : m_sockets.GetResolver()(strHost, false, nPort, addresses, strDetail);
    if (result != EConnectResult::Connected)
        return result;

    result = EConnectResult::NameNotFound;
    strDetail = "no IPv4 or IPv6 address";
    std::size_t nLeft = addresses.size();
    for (const SProbeAddress& address : addresses) {
        // Each address gets its share of the time left, so that a dead first address (an
        // IPv6 route that drops everything) leaves time for the next.
        const int nShareMs = MsLeft(m_deadline) / static_cast<int>(nLeft--);
        const Clock::time_point until = Clock::now() + std::chrono::milliseconds(nShareMs);
        result = ConnectOne(address, until, strDetail);
        if (result == EConnectResult::Connected || result == EConnectResult::Aborted ||
            MsLeft(m_deadline) == 0)
            break;
    }
    return result;
}

} // namespace tarnwick
