#include "engine/CMainFrame.h"

#include "engine/AppSettings.h"
#include "engine/CServices.h"
#include "engine/IUserInterface.h"
#include "engine/SettingLimits.h"
#include "engine/TimerIds.h"
#include "platform/CheckURLConnect.h"
#include "platform/FindOtherInstance.h"
#include "platform/IClock.h"
#include "platform/IDialUpService.h"
#include "platform/IFileTimes.h"
#include "platform/ILog.h"
#include "platform/IModuleLoader.h"
#include "platform/INetService.h"
#include "platform/IPowerService.h"
#include "platform/IProcessList.h"
#include "platform/IStateStore.h"
#include "platform/TimeText.h"
#include "res/CVersionInfo.h"
#include "res/Resource.h"
#include "tray/CMenu.h"

#include <array>
#include <chrono>
#include <cstdio>
#include <map>
#include <string>

namespace {
// Seconds since a moment on the steady clock, as the log shows a duration: "2.1 s".
std::string SecondsSince(std::chrono::steady_clock::time_point tStart) {
    const std::chrono::duration<double> d = std::chrono::steady_clock::now() - tStart;
    char sz[32];
    std::snprintf(sz, sizeof sz, "%.1f s", d.count());
    return sz;
}

std::string Quoted(const std::string& strName) {
    return strName.empty() ? std::string("(any connection)") : "'" + strName + "'";
}

std::string WithCause(const std::string& strCause) {
    return strCause.empty() ? std::string() : ": " + strCause;
}
} // namespace

namespace tarnwick {

CMainFrame::CMainFrame(IAppCommands& app, AppSettings& settings, CServices& services)
    : m_app(app), m_AppSettings(settings), m_services(services), m_TrayIcon(services.shell, *this),
      m_RasManager(services.dialUp), m_History(services.state, services.clock, services.log),
      m_RebootBudget(services.state, services.clock, services.log) {
    IModuleLoader& modules = m_services.modules;
    m_hPortLib = modules.OpenLibrary(kPortLibName);
    if (m_hPortLib != nullptr) {
        m_pfnIn32 = reinterpret_cast<PFN_IN32>(modules.GetProcAddress(m_hPortLib, "In32"));
        m_pfnOut32 = reinterpret_cast<PFN_OUT32>(modules.GetProcAddress(m_hPortLib, "Out32"));
    }
    m_services.timers.SetHandler(this);
    m_History.Load();
}

CMainFrame::~CMainFrame() {
    // The timers belong to the frame and end with it; nothing is hung up, no port written.
    ITimerService& timers = m_services.timers;
    for (unsigned nID : {IDT_TRAY_RETRY, IDT_MODEM_POWER_OFF, IDT_DIAL, IDT_SHUTDOWN, IDT_CHECK})
        timers.KillTimer(nID);
    timers.SetHandler(nullptr);
    if (m_hPortLib != nullptr)
        m_services.modules.FreeLibrary(m_hPortLib);
}

int CMainFrame::OnCreate() {
    const unsigned nPid = FindOtherInstance();
    if (nPid != 0 && nPid != m_services.processes.GetCurrentProcessId()) {
        // Another instance runs: leave once start-up is done, without an icon, and say so
        // then, or the user who started this one sees nothing happen.
        IUserInterface& ui = m_services.ui;
        m_app.SetExitReason("another instance runs already (pid " + std::to_string(nPid) + ")");
        ui.Post([&ui] { ui.TellUser("Tarnwick is already running"); });
        ui.PostQuit();
    } else if (!CreateTrayIcon()) {
        // Without a display no tray ever appears: retrying would only wake the program.
        if (m_services.shell.CanTrayAppear())
            ArmTimer(m_services.timers, m_services.log, IDT_TRAY_RETRY, 5000,
                     "the icon is not tried again");
        else
            m_services.log.Write(LogLevel::Notice, "start",
                                 "no notification area on this display: running without an icon");
    }

    AppSettings& s = m_AppSettings;
    if (s.iLptPort > 0 && s.bMakeSureModemOn != 0)
        ModemPowerOn(false);

    // Only a dial-up link is adopted: on a desktop a LAN or Wi-Fi is usually up as well, and
    // watching it would let every check pass while the modem link is down.
    std::string strActive;
    if (m_RasManager.FindDialUpConnection(strActive)) {
        s.sDefaultConnection = strActive;
        m_RasManager.SetCurrentEntry(strActive);
        Log(LogLevel::Info, "start",
            "connection " + Quoted(s.sDefaultConnection) + " is up; it is the one watched");
    } else {
        m_RasManager.SetCurrentEntry(s.sDefaultConnection);
        const std::string strError = m_services.dialUp.LastError();
        if (!strError.empty())
            Log(LogLevel::Warning, "start", "the connections cannot be listed: " + strError);
        if (s.bEstablishConnection != 0 && !s.sDefaultConnection.empty() &&
            ArmTimer(m_services.timers, m_services.log, IDT_DIAL, 20000,
                     "the connection is not dialled at start")) {
            Log(LogLevel::Info, "start",
                "no connection is up; " + Quoted(s.sDefaultConnection) + " is dialled in 20 s");
        }
    }
    m_services.log.SetConnection(s.sDefaultConnection);
    return 0;
}

unsigned CMainFrame::FindOtherInstance() {
    return tarnwick::FindOtherInstance(m_services.processes, m_services.log);
}

bool CMainFrame::CreateTrayIcon() {
    const bool bCreated = m_TrayIcon.Create(WM::TrayNotify, TooltipText(), IDR_MAINFRAME,
                                            IDR_TRAYMENU, [this](CMenu& popup) {
                                                PrepareTrayMenu(&popup);
                                                UpdateMenuItems(popup);
                                                m_bMenuShowing = false;
                                            });
    if (!bCreated)
        return false;
    m_TrayIcon.SetDefaultMenuItem(0, true);
    return true;
}

void CMainFrame::OnTimer(unsigned nIDEvent) {
    ITimerService& timers = m_services.timers;
    switch (nIDEvent) {
    case IDT_TRAY_RETRY:
        if (CreateTrayIcon()) {
            timers.KillTimer(IDT_TRAY_RETRY);
            Log(LogLevel::Info, "tray", "the tray icon is shown");
        }
        break;
    case IDT_MODEM_POWER_OFF:
        ModemPowerOn(true);
        timers.KillTimer(IDT_MODEM_POWER_OFF);
        break;
    case IDT_DIAL:
        LoggedDial(m_RasManager.GetCurrentEntry(), "scheduled");
        timers.KillTimer(IDT_DIAL);
        break;
    case IDT_SHUTDOWN:
        m_app.OnShutdownTimer();
        break;
    case IDT_CHECK:
        OnCheckTimer();
        break;
    default:
        break;
    }
    PublishStatus();
}

bool CMainFrame::CheckConnState(std::string& strCause) {
    const std::string& strName = m_AppSettings.sDefaultConnection;
    if (m_RasManager.IsConnected(strName)) {
        m_strConnState = "up";
        return true;
    }
    m_strConnState = "down";
    strCause = strName.empty() ? std::string("no connection active")
                               : "connection '" + strName + "' not active";
    const std::string strError = m_services.dialUp.LastError();
    if (!strError.empty())
        strCause += " (" + strError + ")";
    return false;
}

bool CMainFrame::CheckFileRefresh(std::string& strCause) {
    const std::string& strPath = m_AppSettings.sFileRefresh;
    std::uint64_t ftWrite = 0;
    // A file that is missing or held open by its writer right now takes no part.
    if (!m_services.files.GetLastWriteTime(strPath, ftWrite)) {
        if (!m_bFileSkipped) {
            const std::string strError = m_services.files.LastError();
            Log(LogLevel::Notice, "check",
                "file " + strPath + " takes no part in the checks while it cannot be read" +
                    WithCause(strError));
        }
        m_bFileSkipped = true;
        return true;
    }
    m_bFileSkipped = false;
    const bool bPass = m_ftLastWrite == 0 || ftWrite != m_ftLastWrite;
    m_ftLastWrite = ftWrite;
    if (!bPass) {
        const std::int64_t tWrite = m_services.files.ToUnixTime(ftWrite);
        strCause = "file " + strPath + " unchanged since " +
                   (tWrite < 0 ? std::string("the previous check")
                               : FormatClock(tWrite, m_services.clock.GetUtcOffset(tWrite)));
    }
    return bPass;
}

void CMainFrame::OnCheckTimer() {
    if (m_bChecking)
        return;
    m_bChecking = true;
    const AppSettings& s = m_AppSettings;
    m_services.log.SetConnection(s.sDefaultConnection);

    bool bPass = true;
    std::string strCauses;
    auto fnFailed = [&](const std::string& strCause) {
        bPass = false;
        strCauses += (strCauses.empty() ? "" : "; ") + strCause;
    };
    std::string strCause;
    if (s.bCheckConnState != 0 && !CheckConnState(strCause))
        fnFailed(strCause);
    strCause.clear();
    if (s.bCheckFileRefresh != 0 && !CheckFileRefresh(strCause))
        fnFailed(strCause);
    strCause.clear();
    if (s.bCheckURLDownload != 0 &&
        !CheckURLConnect(s.sURLDownload, m_services.net, m_services.log, &strCause))
        fnFailed(strCause);

    m_tLastCheck = m_services.clock.GetWallTime();
    m_tNextCheck =
        m_tLastCheck + static_cast<std::int64_t>(s.iCheckDelay > 0 ? s.iCheckDelay : 1) * 60;
    m_bLastCheckPassed = bPass;
    m_strLastCause = strCauses;
    if (!bPass && m_services.ui.IsQuitRequested()) {
        // A quit request cut the checks short: their failure says nothing about the link,
        // and nothing may be escalated (least of all a reboot) on the way out.
        Log(LogLevel::Notice, "check", "check cut short by the quit request; no action taken");
    } else if (bPass) {
        OnCheckPassed();
    } else {
        OnCheckFailed(strCauses);
    }
    m_bChecking = false;
}

void CMainFrame::OnCheckPassed() {
    m_nFaultCount = 0;
    m_bRebootWarned = false;
    SOutage closed;
    if (!m_History.OnCheckPassed(closed)) {
        Log(LogLevel::Debug, "check", "check passed");
        return;
    }
    static const std::map<std::string, std::string> kBy = {{"itself", "by itself"},
                                                           {"redial", "by the re-dial"},
                                                           {"power-cycle", "by the power cycle"},
                                                           {"reboot", "by the reboot"}};
    const std::string strBy = kBy.at(closed.FixedBy());
    const std::string strText = "link restored after " + std::to_string(closed.nFailedChecks) +
                                " failed check" + (closed.nFailedChecks == 1 ? "" : "s") + ", " +
                                strBy + " (down " + FormatDuration(closed.tEnd - closed.tStart) +
                                ")";
    Log(LogLevel::Notice, "restored", strText);
    m_services.ui.Notify("Internet link restored", strText);
}

void CMainFrame::OnCheckFailed(const std::string& strCause) {
    const AppSettings& s = m_AppSettings;
    // Saturate rather than wrap: a counter past the limit must stay past it.
    if (m_nFaultCount < INT32_MAX)
        ++m_nFaultCount;
    const std::int32_t nFaults = m_nFaultCount;
    const std::int32_t nMaxFaults = EffectiveMaxFaults(s);
    m_History.OnCheckFailed();
    Log(LogLevel::Warning, "check",
        "check failed (" + std::to_string(nFaults) + " in a row, limit " +
            std::to_string(nMaxFaults) + "): " + strCause);
    if (nFaults == nMaxFaults) {
        if (s.iLptPort <= 0)
            Log(LogLevel::Notice, "power",
                "power cycle due, but no resetter port is set: nothing is done this time");
        OnResetModemPower();
    } else if (nFaults > nMaxFaults) {
        Reboot();
    } else {
        Redial();
    }
    // A person at the machine can step in before the machine reboots.
    if (NextStep() == "reboot" && !m_bRebootWarned) {
        m_bRebootWarned = true;
        const std::string strWhen =
            FormatClock(m_tNextCheck, m_services.clock.GetUtcOffset(m_tNextCheck));
        Log(LogLevel::Notice, "reboot",
            "the next failed check at " + strWhen + " reboots this machine");
        m_services.ui.Notify("Internet link down",
                             "The next failed check at " + strWhen + " reboots this machine.");
    }
}

void CMainFrame::Redial() {
    const std::string strEntry = m_RasManager.GetCurrentEntry();
    m_History.OnStep("redial");
    if (m_RasManager.IsConnected(strEntry))
        LoggedHangUp(strEntry, "re-dial");
    LoggedDial(strEntry, "re-dial");
}

void CMainFrame::Reboot() {
    const AppSettings& s = m_AppSettings;
    if (m_RebootBudget.IsSpent(s.iMaxRebootsPerDay)) {
        Log(LogLevel::Warning, "reboot",
            "reboot skipped: " + std::to_string(m_RebootBudget.CountLastDay()) +
                " reboots in the last 24 h; the modem is power-cycled instead");
        OnResetModemPower();
        return;
    }
    m_History.OnStep("reboot");
    if (LoggedExitSystem(EWX::Reboot, "after " + std::to_string(m_nFaultCount) + " failed checks"))
        m_RebootBudget.Record();
}

bool CMainFrame::LoggedHangUp(const std::string& strEntry, const char* pszWhy) {
    const auto tStart = std::chrono::steady_clock::now();
    const bool bOk = m_RasManager.HangUp(strEntry);
    if (bOk)
        Log(LogLevel::Info, "hangup",
            std::string(pszWhy) + ": hung up " + Quoted(strEntry) + " in " + SecondsSince(tStart));
    else
        Log(LogLevel::Warning, "hangup",
            std::string(pszWhy) + ": hang-up of " + Quoted(strEntry) + " failed after " +
                SecondsSince(tStart) + WithCause(m_services.dialUp.LastError()));
    return bOk;
}

bool CMainFrame::LoggedDial(const std::string& strEntry, const char* pszWhy) {
    const auto tStart = std::chrono::steady_clock::now();
    const bool bOk = m_RasManager.Dial(strEntry);
    if (bOk)
        Log(LogLevel::Notice, "dial",
            std::string(pszWhy) + ": " + Quoted(strEntry) + " connected in " +
                SecondsSince(tStart));
    else
        Log(LogLevel::Warning, "dial",
            std::string(pszWhy) + ": dial of " + Quoted(strEntry) + " failed after " +
                SecondsSince(tStart) + WithCause(m_services.dialUp.LastError()));
    return bOk;
}

bool CMainFrame::LoggedExitSystem(unsigned uFlags, const std::string& strWhy) {
    const char* pszStep = uFlags == EWX::Reboot ? "reboot" : "shutdown";
    Log(LogLevel::Notice, pszStep, std::string(pszStep) + " requested: " + strWhy);
    const bool bOk = m_services.power.ExitSystem(uFlags);
    if (bOk)
        Log(LogLevel::Notice, pszStep, std::string(pszStep) + " accepted by the system");
    else
        Log(LogLevel::Error, pszStep,
            std::string(pszStep) + " refused" + WithCause(m_services.power.LastError()));
    return bOk;
}

void CMainFrame::Log(LogLevel level, const char* pszStep, const std::string& strText) {
    m_services.log.Write(level, pszStep, strText);
}

} // namespace tarnwick
