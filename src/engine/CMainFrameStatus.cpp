// What the engine is doing, for whoever asks: the state report and the tooltip.
#include "engine/CMainFrame.h"

#include "engine/AppSettings.h"
#include "engine/CServices.h"
#include "engine/SettingLimits.h"
#include "platform/IClock.h"
#include "platform/IStateStore.h"
#include "platform/TimeText.h"

namespace tarnwick {

namespace {
std::string Plural(int n, const char* pszOne, const char* pszMany) {
    return std::to_string(n) + " " + (n == 1 ? pszOne : pszMany);
}
} // namespace

std::string CMainFrame::NextStep() const {
    const AppSettings& s = m_AppSettings;
    if (s.bCheckConnState == 0 && s.bCheckFileRefresh == 0 && s.bCheckURLDownload == 0)
        return "nothing (no check is enabled)";
    const std::int64_t nNext = static_cast<std::int64_t>(m_nFaultCount) + 1;
    const std::int32_t nMaxFaults = EffectiveMaxFaults(s);
    if (nNext < nMaxFaults)
        return "re-dial";
    if (nNext == nMaxFaults)
        return s.iLptPort > 0 ? "power cycle" : "nothing (no resetter port)";
    if (m_RebootBudget.IsSpent(s.iMaxRebootsPerDay))
        return s.iLptPort > 0 ? "power cycle (reboot budget spent)"
                              : "nothing (reboot budget spent, no resetter port)";
    return "reboot";
}

std::string CMainFrame::TooltipText() const {
    std::string strLine;
    if (m_nFaultCount > 0) {
        strLine = Plural(m_nFaultCount, "failed check", "failed checks") + " in a row";
    } else if (m_tLastCheck != 0) {
        strLine = "Last check " +
                  FormatClock(m_tLastCheck, m_services.clock.GetUtcOffset(m_tLastCheck)) + ": " +
                  (m_bLastCheckPassed ? "OK" : "failed");
    }
    return strLine.empty() ? m_strProductVersion : m_strProductVersion + "\n" + strLine;
}

void CMainFrame::OnCheckTimerArmed(std::int64_t tNextCheck) {
    m_tNextCheck = tNextCheck;
    m_nFaultCount = 0;
}

void CMainFrame::PublishStatus() {
    const AppSettings& s = m_AppSettings;
    IClock& clock = m_services.clock;
    auto fnTime = [&clock](std::int64_t t) {
        return FormatIsoTime(t, clock.GetUtcOffset(t)).replace(10, 1, " ").substr(0, 19);
    };
    std::string r;
    auto fnLine = [&r](const char* pszKey, const std::string& strValue) {
        r += pszKey;
        r += ": ";
        r += strValue;
        r += '\n';
    };
    const std::string strName =
        s.sDefaultConnection.empty() ? std::string("(any)") : "'" + s.sDefaultConnection + "'";
    fnLine("connection",
           strName + ", " + (s.bCheckConnState != 0 ? m_strConnState : std::string("not checked")));
    if (m_tLastCheck == 0)
        fnLine("last check", "none yet");
    else
        fnLine("last check",
               fnTime(m_tLastCheck) + ", " +
                   (m_bLastCheckPassed ? std::string("passed") : "failed: " + m_strLastCause));
    fnLine("failed checks in a row", std::to_string(m_nFaultCount) + " (limit " +
                                         std::to_string(EffectiveMaxFaults(s)) + ")");
    fnLine("next check",
           m_tNextCheck == 0 ? std::string("none (no check is enabled)") : fnTime(m_tNextCheck));
    fnLine("next failure does", NextStep());
    if (s.iMaxRebootsPerDay > 0)
        fnLine("reboots in the last 24 h", std::to_string(m_RebootBudget.CountLastDay()) +
                                               " (at most " + std::to_string(s.iMaxRebootsPerDay) +
                                               ")");
    fnLine("modem power",
           s.iLptPort <= 0 ? std::string("no resetter port")
                           : m_strModemPower + (IsPortLibLoaded() ? "" : " (port module missing)"));
    fnLine("next daily shutdown",
           m_app.GetShutdownDue() == 0 ? std::string("none") : fnTime(m_app.GetShutdownDue()));
    if (m_History.IsOpen()) {
        const SOutage& o = m_History.Current();
        fnLine("outage", "since " + fnTime(o.tStart) + ", " +
                             Plural(o.nFailedChecks, "failed check", "failed checks") + ", " +
                             Plural(o.nRedials, "re-dial", "re-dials") + ", " +
                             Plural(o.nPowerCycles, "power cycle", "power cycles") + ", " +
                             Plural(o.nReboots, "reboot", "reboots"));
    } else {
        fnLine("outage", "none");
    }
    if (!m_services.state.PublishStatus(r) && !m_bStatusWarned) {
        m_bStatusWarned = true;
        Log(LogLevel::Warning, "status",
            "the state report cannot be written: " + m_services.state.LastError());
    }
    if (const std::string strWarning = m_services.state.TakeWarning(); !strWarning.empty())
        Log(LogLevel::Warning, "status", strWarning);
    m_TrayIcon.SetTooltipText(TooltipText());
}

} // namespace tarnwick
