#include "engine/COutageHistory.h"

#include "platform/FlatJson.h"
#include "platform/IClock.h"
#include "platform/ILog.h"
#include "platform/IStateStore.h"
#include "platform/TextUtil.h"
#include "platform/TimeText.h"

namespace tarnwick {

namespace {
bool ReadCount(const std::map<std::string, std::string>& f, const char* pszName, int& nOut) {
    const auto it = f.find(pszName);
    if (it == f.end() || it->second.empty())
        return false;
    nOut = AtoI(it->second);
    return nOut >= 0;
}

std::string Get(const std::map<std::string, std::string>& f, const char* pszName) {
    const auto it = f.find(pszName);
    return it == f.end() ? std::string() : it->second;
}

bool IsFix(const std::string& strFix) {
    return strFix == "redial" || strFix == "power-cycle" || strFix == "reboot" ||
           strFix == "itself";
}
} // namespace

std::string SOutage::ToJsonLine(int nStartOffset, int nEndOffset) const {
    return "{\"start\":" + JsonQuote(FormatIsoTime(tStart, nStartOffset)) +
           ",\"end\":" + JsonQuote(FormatIsoTime(tEnd, nEndOffset)) +
           ",\"failed_checks\":" + std::to_string(nFailedChecks) +
           ",\"redials\":" + std::to_string(nRedials) +
           ",\"power_cycles\":" + std::to_string(nPowerCycles) +
           ",\"reboots\":" + std::to_string(nReboots) + ",\"fixed_by\":" + JsonQuote(FixedBy()) +
           "}";
}

bool SOutage::FromJsonLine(const std::string& strLine, SOutage& outage, std::string& strFixedBy) {
    std::map<std::string, std::string> f;
    if (!ParseFlatJson(strLine, f))
        return false;
    outage = SOutage{};
    strFixedBy = Get(f, "fixed_by");
    return ParseIsoTime(Get(f, "start"), outage.tStart) &&
           ParseIsoTime(Get(f, "end"), outage.tEnd) && outage.tEnd >= outage.tStart &&
           ReadCount(f, "failed_checks", outage.nFailedChecks) &&
           ReadCount(f, "redials", outage.nRedials) &&
           ReadCount(f, "power_cycles", outage.nPowerCycles) &&
           ReadCount(f, "reboots", outage.nReboots) && IsFix(strFixedBy);
}

COutageHistory::COutageHistory(IStateStore& store, IClock& clock, ILog& log)
    : m_store(store), m_clock(clock), m_log(log) {}

void COutageHistory::Load() {
    std::vector<std::string> lines;
    if (!m_store.ReadLines(kOpenFile, lines) || lines.empty())
        return;
    std::map<std::string, std::string> f;
    SOutage o;
    if (!ParseFlatJson(lines.front(), f) || !ParseIsoTime(Get(f, "start"), o.tStart) ||
        !ReadCount(f, "failed_checks", o.nFailedChecks) || !ReadCount(f, "redials", o.nRedials) ||
        !ReadCount(f, "power_cycles", o.nPowerCycles) || !ReadCount(f, "reboots", o.nReboots)) {
        Warn("the open outage in " + std::string(kOpenFile) + " is damaged; it is dropped");
        m_store.WriteLines(kOpenFile, {});
        return;
    }
    o.strLastStep = Get(f, "last_step");
    o.strBootId = Get(f, "boot");
    const std::string strBoot = m_store.GetBootId();
    if (!o.strBootId.empty() && !strBoot.empty() && o.strBootId != strBoot) {
        o.strLastStep = "reboot";
        o.strBootId = strBoot;
    }
    m_current = o;
    m_bOpen = true;
    m_log.Write(LogLevel::Notice, "history",
                "an outage open since " + FormatIsoTime(o.tStart, m_clock.GetUtcOffset(o.tStart)) +
                    " goes on (" + std::to_string(o.nFailedChecks) + " failed checks so far)");
}

void COutageHistory::OnCheckFailed() {
    if (!m_bOpen) {
        m_current = SOutage{};
        m_current.tStart = m_clock.GetWallTime();
        m_current.strBootId = m_store.GetBootId();
        m_bOpen = true;
    }
    ++m_current.nFailedChecks;
    SaveOpen();
}

void COutageHistory::OnStep(const std::string& strStep) {
    if (!m_bOpen)
        return;
    if (strStep == "redial")
        ++m_current.nRedials;
    else if (strStep == "power-cycle")
        ++m_current.nPowerCycles;
    else if (strStep == "reboot")
        ++m_current.nReboots;
    m_current.strLastStep = strStep;
    SaveOpen();
}

bool COutageHistory::OnCheckPassed(SOutage& closed) {
    if (!m_bOpen)
        return false;
    m_current.tEnd = m_clock.GetWallTime();
    closed = m_current;
    m_bOpen = false;
    m_current = SOutage{};
    Append(closed);
    if (!m_store.WriteLines(kOpenFile, {}))
        Warn("the closed outage could not be cleared: " + m_store.LastError());
    return true;
}

void COutageHistory::SaveOpen() {
    const SOutage& o = m_current;
    const std::string strLine =
        "{\"start\":" + JsonQuote(FormatIsoTime(o.tStart, m_clock.GetUtcOffset(o.tStart))) +
        ",\"failed_checks\":" + std::to_string(o.nFailedChecks) +
        ",\"redials\":" + std::to_string(o.nRedials) +
        ",\"power_cycles\":" + std::to_string(o.nPowerCycles) +
        ",\"reboots\":" + std::to_string(o.nReboots) +
        ",\"last_step\":" + JsonQuote(o.strLastStep) + ",\"boot\":" + JsonQuote(o.strBootId) + "}";
    if (!m_store.WriteLines(kOpenFile, {strLine}))
        Warn("the open outage could not be saved: " + m_store.LastError());
}

void COutageHistory::Append(const SOutage& closed) {
    const std::string strLine =
        closed.ToJsonLine(m_clock.GetUtcOffset(closed.tStart), m_clock.GetUtcOffset(closed.tEnd));
    if (!m_store.AppendLine(kHistoryFile, strLine)) {
        Warn("the outage could not be added to " + std::string(kHistoryFile) + ": " +
             m_store.LastError());
        return;
    }
    std::vector<std::string> lines;
    if (!m_store.ReadLines(kHistoryFile, lines) || lines.size() <= kMaxOutages)
        return;
    lines.erase(lines.begin(), lines.end() - static_cast<std::ptrdiff_t>(kMaxOutages));
    if (!m_store.WriteLines(kHistoryFile, lines))
        Warn("the history could not be cut to its last outages: " + m_store.LastError());
}

void COutageHistory::Warn(const std::string& strWhat) {
    m_log.Write(LogLevel::Warning, "history", strWhat);
}

} // namespace tarnwick
