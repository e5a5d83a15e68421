#include "app/CTarnwickApp.h"

#include "app/IUserInterface.h"
#include "engine/CMainFrame.h"
#include "engine/ITimerService.h"
#include "engine/TimerIds.h"
#include "engine/TimerPeriod.h"
#include "platform/IAutorunStore.h"
#include "platform/IClock.h"
#include "platform/IProcessList.h"
#include "platform/ShutdownTime.h"

namespace tarnwick {

CTarnwickApp::CTarnwickApp(CServices& services) : m_services(services) {}

CTarnwickApp::~CTarnwickApp() = default;

bool CTarnwickApp::InitInstance() {
    m_AppSettings.Load(m_services.profile);
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
    m_AppSettings.Save(m_services.profile);
    m_pMainWnd.reset();
    return 0;
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
