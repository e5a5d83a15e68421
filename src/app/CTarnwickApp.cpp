#include "app/CTarnwickApp.h"

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

bool CTarnwickApp::InitInstance() {
    m_AppSettings.Load(m_services.profile);
    m_ProfileSettings = m_AppSettings;
    m_pMainWnd = std::make_unique<CMainFrame>(*this, m_services);
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
    std::vector<std::string> changes;
    if (TakeProfileChanges(changes) && !changes.empty())
        m_services.log.Write(LogLevel::Notice, "settings",
                             "Kept the values changed in the settings file: " +
                                 JoinChanges(changes));
    SaveSettings();
    m_pMainWnd.reset();
    return 0;
}

bool CTarnwickApp::SaveSettings() {
    if (!m_AppSettings.Save(m_services.profile)) {
        m_services.log.Write(LogLevel::Error, "settings", "Could not write the settings");
        return false;
    }
    m_ProfileSettings = m_AppSettings;
    return true;
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
    ApplyAutorun();
    SetupShutdownTimer();
    SetupCheckTimer();
}

bool CTarnwickApp::ApplyAutorun() {
    // Each mechanism quotes the path as its own file format requires.
    const std::string strCommand = m_services.processes.GetOwnExePath();
    IAutorunStore& autorun = m_services.autorun;
    const bool bAdd = m_AppSettings.bAutoRun != 0;
    switch (m_AppSettings.iAutoRunMethod) {
    case 0:
        autorun.SetWinIniEntry(false, std::string());
        return autorun.SetRunKeyEntry(bAdd, strCommand);
    case 1:
        autorun.SetRunKeyEntry(false, std::string());
        return autorun.SetWinIniEntry(bAdd, strCommand);
    default:
        return false;
    }
}

bool CTarnwickApp::SetupShutdownTimer() {
    ITimerService& timers = m_services.timers;
    timers.KillTimer(IDT_SHUTDOWN);
    if (m_AppSettings.bAutoShutdown == 0)
        return false;
    const SLocalTime now = m_services.clock.GetLocalTime();
    std::uint32_t nDelayMs = 0;
    if (!GetShutdownDelayMs(m_AppSettings.sShutdownTime, now.nHour, now.nMinute, nDelayMs))
        return false;
    timers.SetTimer(IDT_SHUTDOWN, nDelayMs);
    return true;
}

bool CTarnwickApp::SetupCheckTimer() {
    ITimerService& timers = m_services.timers;
    timers.KillTimer(IDT_CHECK);
    m_nFaultCount = 0;
    const AppSettings& s = m_AppSettings;
    if (s.bCheckConnState == 0 && s.bCheckFileRefresh == 0 && s.bCheckURLDownload == 0)
        return false;
    timers.SetTimer(IDT_CHECK, PeriodMs(s.iCheckDelay, 1, 60000));
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
