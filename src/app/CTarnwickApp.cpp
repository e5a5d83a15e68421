#include "app/CTarnwickApp.h"

#include "engine/CMainFrame.h"
#include "engine/ITimerService.h"
#include "engine/IUserInterface.h"
#include "engine/SettingLimits.h"
#include "engine/TimerIds.h"
#include "engine/TimerPeriod.h"
#include "platform/IAutorunStore.h"
#include "platform/IClock.h"
#include "platform/ILog.h"
#include "platform/IPowerService.h"
#include "platform/IProcessList.h"
#include "platform/IProfileStore.h"
#include "platform/ShutdownTime.h"
#include "res/CVersionInfo.h"

#include <algorithm>
#include <cstdio>

namespace tarnwick {

namespace {
std::string JoinChanges(const std::vector<std::string>& changes) {
    std::string strJoined;
    for (const std::string& strChange : changes)
        strJoined += (strJoined.empty() ? "" : ", ") + strChange;
    return strJoined;
}
} // namespace

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

// The shutdown timer never waits longer than this before it looks at the wall clock again,
// so a clock that was set, or a machine that slept, cannot push the shutdown far off.
constexpr std::int64_t kShutdownTickSeconds = 60;
// A shutdown time missed by more than this (the machine slept through it, the clock was set
// past it) is left for the next day rather than done at an hour nobody chose.
constexpr std::int64_t kShutdownGraceSeconds = std::int64_t{15} * 60;

std::string TimeText(IClock& clock, std::int64_t nTime) {
    const SLocalTime t = clock.LocalTimeAt(nTime);
    char szText[16];
    std::snprintf(szText, sizeof szText, "%02d:%02d", t.nHour, t.nMinute);
    return szText;
}
} // namespace

bool CTarnwickApp::InitInstance() {
    IProfileStore& profile = m_services.profile;
    m_AppSettings.Load(profile);
    LogOutOfRangeSettings(m_AppSettings, m_services.log);
    m_ProfileSettings = m_AppSettings;
    m_pMainWnd = std::make_unique<CMainFrame>(*this, m_AppSettings, m_services);
    std::string strVersion = GetProductVersionText();
    std::replace(strVersion.begin(), strVersion.end(), '\n', ' ');
    m_services.log.Write(LogLevel::Notice, "start",
                         strVersion + " starts; port module " +
                             (m_pMainWnd->IsPortLibLoaded() ? "loaded" : "not loaded") + "; " +
                             SettingsSummary(m_AppSettings));
    m_pMainWnd->OnCreate();
    // Autorun from values that were never read could remove the user's entry.
    if (profile.GetLoadState() == EProfileLoad::Clean)
        ApplyAutorun();
    else
        m_services.log.Write(LogLevel::Warning, "autorun",
                             "left as it is: the settings file could not be read whole");
    SetupShutdownTimer();
    SetupCheckTimer();
    return true;
}

int CTarnwickApp::ExitInstance() {
    if (m_bExited)
        return 0;
    m_bExited = true;
    // An exit during the modem's off time would leave the modem without power: it is
    // switched on as the end of the off time would, without the dial.
    if (m_pMainWnd != nullptr && m_pMainWnd->IsModemOff()) {
        m_services.log.Write(LogLevel::Notice, "power",
                             "exit during the modem's off time: modem power on");
        m_pMainWnd->ModemPowerOn(false);
        m_services.timers.KillTimer(IDT_MODEM_POWER_OFF);
    }
    // Values someone changed in the file since it was last read are taken first, so that
    // the save does not write them back to what they were.
    std::vector<std::string> changes;
    if (TakeProfileChanges(changes) && !changes.empty())
        m_services.log.Write(LogLevel::Notice, "settings",
                             "Kept the values changed in the settings file: " +
                                 JoinChanges(changes));
    SaveOnExit();
    m_pMainWnd.reset();
    m_services.log.Write(LogLevel::Notice, "exit",
                         "exit: " + (m_strExitReason.empty() ? std::string("the event loop ended")
                                                             : m_strExitReason));
    return 0;
}

bool CTarnwickApp::SaveSettings(const char* pszWhen) {
    if (m_AppSettings.Save(m_services.profile)) {
        m_services.log.Write(LogLevel::Info, "settings", std::string("settings saved ") + pszWhen);
        m_ProfileSettings = m_AppSettings;
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

bool CTarnwickApp::SaveOnExit() {
    if (m_services.profile.GetLoadState() == EProfileLoad::Unreadable) {
        m_services.log.Write(LogLevel::Warning, "settings",
                             "not saved: the settings file could not be read at start, so it "
                             "is kept as it is");
        return false;
    }
    return SaveSettings("at exit");
}

bool CTarnwickApp::TakeProfileChanges(std::vector<std::string>& changes) {
    IProfileStore& profile = m_services.profile;
    if (!profile.Reload())
        return false;
    AppSettings fromProfile = m_ProfileSettings;
    fromProfile.Load(profile);
    changes = m_AppSettings.TakeChanges(m_ProfileSettings, fromProfile);
    m_ProfileSettings = fromProfile;
    return true;
}

void CTarnwickApp::OnReloadRequest() {
    ReloadSettings(true, "on request");
}

void CTarnwickApp::OnProfileChanged() {
    ReloadSettings(false, "after an edit of the settings file");
}

void CTarnwickApp::ReloadSettings(bool bAlways, const char* pszCause) {
    ILog& log = m_services.log;
    std::vector<std::string> changes;
    if (!TakeProfileChanges(changes)) {
        log.Write(LogLevel::Warning, "settings",
                  std::string("Could not read the settings file ") + pszCause +
                      "; the values in use stay");
        return;
    }
    if (changes.empty() && !bAlways)
        return;
    log.Write(LogLevel::Notice, "settings",
              std::string("Reloaded the settings ") + pszCause + ": " +
                  (changes.empty() ? std::string("no value changed") : JoinChanges(changes)));
    if (m_pMainWnd != nullptr && m_pMainWnd->IsSettingsOpen())
        log.Write(LogLevel::Warning, "settings",
                  "The open settings dialog still shows the earlier values; its OK stores them");
    LogOutOfRangeSettings(m_AppSettings, log);
    // As at start-up: autorun only from a file that was read whole.
    if (m_services.profile.GetLoadState() == EProfileLoad::Clean)
        ApplyAutorun();
    else
        log.Write(LogLevel::Warning, "autorun",
                  "left as it is: the settings file could not be read whole");
    SetupShutdownTimer();
    SetupCheckTimer();
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
    m_services.timers.KillTimer(IDT_SHUTDOWN);
    m_nShutdownDue = 0;
    int nHour = 0;
    int nMinute = 0;
    if (m_AppSettings.bAutoShutdown == 0 ||
        !ParseShutdownTime(m_AppSettings.sShutdownTime, nHour, nMinute))
        return false;
    IClock& clock = m_services.clock;
    m_nShutdownDue = NextLocalTime(clock, clock.GetWallTime(), nHour, nMinute);
    ArmShutdownTimer();
    return true;
}

void CTarnwickApp::ArmShutdownTimer() {
    const std::int64_t nLeft = m_nShutdownDue - m_services.clock.GetWallTime();
    const std::int64_t nWait = std::clamp<std::int64_t>(nLeft, 1, kShutdownTickSeconds);
    ArmTimer(m_services.timers, m_services.log, IDT_SHUTDOWN,
             static_cast<std::uint32_t>(nWait * 1000), "the daily shutdown will not happen");
}

void CTarnwickApp::OnShutdownTimer() {
    int nHour = 0;
    int nMinute = 0;
    if (m_nShutdownDue == 0 || !ParseShutdownTime(m_AppSettings.sShutdownTime, nHour, nMinute)) {
        m_services.timers.KillTimer(IDT_SHUTDOWN);
        return;
    }
    IClock& clock = m_services.clock;
    ILog& log = m_services.log;
    const std::int64_t nNow = clock.GetWallTime();
    if (nNow < m_nShutdownDue) {
        // Not yet, by the wall clock. It may have been set back: look for the time again.
        m_nShutdownDue = NextLocalTime(clock, nNow - 1, nHour, nMinute);
        ArmShutdownTimer();
        return;
    }
    if (nNow - m_nShutdownDue > kShutdownGraceSeconds) {
        log.Write(LogLevel::Warning, "shutdown",
                  "the shutdown time " + TimeText(clock, m_nShutdownDue) +
                      " passed while the machine slept or its clock was set; next one tomorrow");
    } else {
        m_nLastShutdownRequest = nNow;
        if (m_services.power.ExitSystem(EWX::Shutdown))
            log.Write(LogLevel::Notice, "shutdown", "scheduled shutdown requested");
        else
            log.Write(LogLevel::Error, "shutdown",
                      "scheduled shutdown refused: " + m_services.power.LastError());
    }
    // The next one on the local calendar, never the same night twice (when the clock is
    // set back an hour in autumn, a time of day can come round again an hour later).
    m_nShutdownDue = NextLocalTime(clock, std::max(nNow, m_nShutdownDue + std::int64_t{12} * 3600),
                                   nHour, nMinute);
    ArmShutdownTimer();
}

bool CTarnwickApp::SetupCheckTimer() {
    ITimerService& timers = m_services.timers;
    timers.KillTimer(IDT_CHECK);
    const AppSettings& s = m_AppSettings;
    bool bArmed = false;
    const std::uint32_t nPeriodMs = PeriodMs(s.iCheckDelay, 1, 60000);
    if (s.bCheckConnState == 0 && s.bCheckFileRefresh == 0 && s.bCheckURLDownload == 0)
        m_services.log.Write(LogLevel::Notice, "check",
                             "no check is enabled: the link is not watched");
    else
        bArmed = ArmTimer(timers, m_services.log, IDT_CHECK, nPeriodMs, "the link is not watched");
    if (m_pMainWnd) {
        m_pMainWnd->OnCheckTimerArmed(bArmed ? m_services.clock.GetWallTime() + nPeriodMs / 1000
                                             : 0);
        m_pMainWnd->PublishStatus();
    }
    return bArmed;
}

void CTarnwickApp::OnAppAbout() {
    if (m_bAboutOpen)
        return;
    m_bAboutOpen = true;
    m_services.ui.DoModalAbout();
    m_bAboutOpen = false;
}

void CTarnwickApp::OnAppSettings() {
    m_services.ui.DoModalSettings(*this);
}

IFrameStatus* CTarnwickApp::GetFrameStatus() {
    return m_pMainWnd.get();
}

void CTarnwickApp::ApplySettings() {
    SaveSettings("from the settings dialog");
    ApplyAutorun();
    SetupShutdownTimer();
    SetupCheckTimer();
}

} // namespace tarnwick
