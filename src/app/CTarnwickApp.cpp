#include "app/CTarnwickApp.h"

#include "app/CVersionInfo.h"
#include "app/IProfileStore.h"
#include "app/IUserInterface.h"
#include "engine/CMainFrame.h"
#include "engine/ITimerService.h"
#include "engine/TimerIds.h"
#include "engine/TimerPeriod.h"
#include "platform/IAutorunStore.h"
#include "platform/IClock.h"
#include "platform/ILog.h"
#include "platform/IProcessList.h"
#include "platform/ShutdownTime.h"

#include <algorithm>
#include <cstdio>
namespace tarnwick {

CTarnwickApp::CTarnwickApp(CServices& services) : m_services(services) {}

CTarnwickApp::~CTarnwickApp() = default;

namespace {
std::string Hex(std::int32_t n, int nDigits) {
    char sz[16];
    std::snprintf(sz, sizeof sz, "0x%0*x", nDigits, static_cast<unsigned>(n));
    return sz;
}

// The settings in force, in one line.
std::string SettingsSummary(const AppSettings& s) {
    std::string strChecks;
    auto fnAdd = [&strChecks](const std::string& strCheck) {
        strChecks += (strChecks.empty() ? "" : ", ") + strCheck;
    };
    if (s.bCheckConnState != 0)
        fnAdd("connection state");
    if (s.bCheckFileRefresh != 0)
        fnAdd("file " + s.sFileRefresh);
    if (s.bCheckURLDownload != 0)
        fnAdd("connect to " + s.sURLDownload);
    std::string r = "watching " + (s.sDefaultConnection.empty() ? std::string("any connection")
                                                                : "'" + s.sDefaultConnection + "'");
    r += strChecks.empty()
             ? std::string("; no check enabled")
             : "; checks every " + std::to_string(s.iCheckDelay) + " min: " + strChecks;
    r += "; fault limit " + std::to_string(s.iMaxFaults);
    r += "; reboots per day " + (s.iMaxRebootsPerDay > 0
                                     ? "at most " + std::to_string(s.iMaxRebootsPerDay)
                                     : std::string("unlimited"));
    if (s.iLptPort > 0)
        r += "; resetter LPT" + std::to_string(s.iLptPort) + " (control " + Hex(s.iCtrlPort, 3) +
             " mask " + Hex(s.iCtrlPortMask, 2) + ", data " + Hex(s.iDataPort, 3) + " mask " +
             Hex(s.iDataPortMask, 2) + "), off " + std::to_string(s.iModemOffTime) +
             " s, dial after " + std::to_string(s.iModemWaitTime) + " s";
    else
        r += "; no resetter port";
    r +=
        "; daily shutdown " + (s.bAutoShutdown != 0 ? "at " + s.sShutdownTime : std::string("off"));
    r += "; autorun " +
         (s.bAutoRun != 0 ? "method " + std::to_string(s.iAutoRunMethod) : std::string("off"));
    return r;
}
} // namespace

bool CTarnwickApp::InitInstance() {
    m_AppSettings.Load(m_services.profile);
    const std::string strProfileError = m_services.profile.LastError();
    if (!strProfileError.empty())
        m_services.log.Write(LogLevel::Warning, "settings",
                             "the settings could not all be read, defaults stand in: " +
                                 strProfileError);
    m_pMainWnd = std::make_unique<CMainFrame>(*this, m_services);
    std::string strVersion = GetProductVersionText();
    std::replace(strVersion.begin(), strVersion.end(), '\n', ' ');
    m_services.log.Write(LogLevel::Notice, "start",
                         strVersion + " starts; port module " +
                             (m_pMainWnd->IsPortLibLoaded() ? "loaded" : "not loaded") + "; " +
                             SettingsSummary(m_AppSettings));
    m_pMainWnd->OnCreate();
    ApplyAutorun();
    SetupShutdownTimer();
    SetupCheckTimer();
    return true;
}

int CTarnwickApp::ExitInstance() {
    if (m_bExited)
        return 0;
    m_bExited = true;
    SaveSettings("at exit");
    m_pMainWnd.reset();
    m_services.log.Write(LogLevel::Notice, "exit",
                         "exit: " + (m_strExitReason.empty() ? std::string("the event loop ended")
                                                             : m_strExitReason));
    return 0;
}

bool CTarnwickApp::SaveSettings(const char* pszWhen) {
    if (m_AppSettings.Save(m_services.profile)) {
        m_services.log.Write(LogLevel::Info, "settings", std::string("settings saved ") + pszWhen);
        return true;
    }
    const std::string strError = m_services.profile.LastError();
    m_services.log.Write(LogLevel::Error, "settings",
                         std::string("settings NOT saved ") + pszWhen +
                             (strError.empty() ? std::string() : ": " + strError));
    return false;
}

void CTarnwickApp::SetExitReason(const std::string& strReason) {
    if (m_strExitReason.empty())
        m_strExitReason = strReason;
}

bool CTarnwickApp::ApplyAutorun() {
    // Each mechanism quotes the path as its own file format requires.
    const std::string strCommand = m_services.processes.GetOwnExePath();
    IAutorunStore& autorun = m_services.autorun;
    const bool bAdd = m_AppSettings.bAutoRun != 0;
    bool bOk = false;
    switch (m_AppSettings.iAutoRunMethod) {
    case 0:
        autorun.SetWinIniEntry(false, std::string());
        bOk = autorun.SetRunKeyEntry(bAdd, strCommand);
        break;
    case 1:
        autorun.SetRunKeyEntry(false, std::string());
        bOk = autorun.SetWinIniEntry(bAdd, strCommand);
        break;
    default:
        m_services.log.Write(LogLevel::Warning, "autorun",
                             "autorun method " + std::to_string(m_AppSettings.iAutoRunMethod) +
                                 " is unknown: no autorun entry written");
        return false;
    }
    const std::string strWhat =
        std::string(bAdd ? "autorun entry written" : "autorun off, no entry left") + " (method " +
        std::to_string(m_AppSettings.iAutoRunMethod) + ")";
    if (bOk)
        m_services.log.Write(LogLevel::Info, "autorun", strWhat);
    else
        m_services.log.Write(LogLevel::Error, "autorun", "FAILED: " + strWhat);
    return bOk;
}

bool CTarnwickApp::SetupShutdownTimer() {
    ITimerService& timers = m_services.timers;
    timers.KillTimer(IDT_SHUTDOWN);
    if (m_pMainWnd)
        m_pMainWnd->OnShutdownTimerArmed(0);
    if (m_AppSettings.bAutoShutdown == 0)
        return false;
    const SLocalTime now = m_services.clock.GetLocalTime();
    std::uint32_t nDelayMs = 0;
    if (!GetShutdownDelayMs(m_AppSettings.sShutdownTime, now.nHour, now.nMinute, nDelayMs)) {
        m_services.log.Write(LogLevel::Warning, "shutdown",
                             "daily shutdown is on, but the time '" + m_AppSettings.sShutdownTime +
                                 "' is not a time of day: no shutdown is planned");
        return false;
    }
    timers.SetTimer(IDT_SHUTDOWN, nDelayMs);
    if (m_pMainWnd)
        m_pMainWnd->OnShutdownTimerArmed(m_services.clock.GetUnixTime() + nDelayMs / 1000);
    return true;
}

bool CTarnwickApp::SetupCheckTimer() {
    ITimerService& timers = m_services.timers;
    timers.KillTimer(IDT_CHECK);
    m_nFaultCount = 0;
    const AppSettings& s = m_AppSettings;
    if (m_pMainWnd)
        m_pMainWnd->OnCheckTimerArmed(0);
    if (s.bCheckConnState == 0 && s.bCheckFileRefresh == 0 && s.bCheckURLDownload == 0) {
        m_services.log.Write(LogLevel::Notice, "check",
                             "no check is enabled: the link is not watched");
        if (m_pMainWnd)
            m_pMainWnd->PublishStatus();
        return false;
    }
    const std::uint32_t nPeriodMs = PeriodMs(s.iCheckDelay, 1, 60000);
    timers.SetTimer(IDT_CHECK, nPeriodMs);
    if (m_pMainWnd)
        m_pMainWnd->OnCheckTimerArmed(m_services.clock.GetUnixTime() + nPeriodMs / 1000);
    if (m_pMainWnd)
        m_pMainWnd->PublishStatus();
    return true;
}

void CTarnwickApp::OnAppAbout() {
    if (m_bAboutOpen)
        return;
    m_bAboutOpen = true;
    m_services.ui.DoModalAbout();
    m_bAboutOpen = false;
}

} // namespace tarnwick
