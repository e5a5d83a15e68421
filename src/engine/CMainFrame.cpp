#include "engine/CMainFrame.h"

#include "app/CServices.h"
#include "app/CTarnwickApp.h"
#include "app/CVersionInfo.h"
#include "app/IUserInterface.h"
#include "app/SettingLimits.h"
#include "engine/TimerIds.h"
#include "platform/CheckURLConnect.h"
#include "platform/FindOtherInstance.h"
#include "platform/IFileTimes.h"
#include "platform/ILog.h"
#include "platform/IModuleLoader.h"
#include "platform/IPowerService.h"
#include "platform/IProcessList.h"
#include "res/Resource.h"
#include "tray/CMenu.h"

#include <array>
#include <string>

namespace tarnwick {

CMainFrame::CMainFrame(CTarnwickApp& app, CServices& services)
    : m_app(app), m_services(services), m_TrayIcon(services.shell, *this),
      m_RasManager(services.dialUp) {
    IModuleLoader& modules = m_services.modules;
    m_hPortLib = modules.OpenLibrary(kPortLibName);
    if (m_hPortLib != nullptr) {
        m_pfnIn32 = reinterpret_cast<PFN_IN32>(modules.GetProcAddress(m_hPortLib, "In32"));
        m_pfnOut32 = reinterpret_cast<PFN_OUT32>(modules.GetProcAddress(m_hPortLib, "Out32"));
    }
    m_services.timers.SetHandler(this);
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
        m_services.log.Write(LogLevel::Notice, "start",
                             "Another instance runs (process " + std::to_string(nPid) +
                                 "); this one ends after its start-up");
        ui.Post([&ui] { ui.TellUser("Tarnwick is already running"); });
        ui.PostQuit();
    } else if (!CreateTrayIcon()) {
        // Without a display no tray ever appears: retrying would only wake the program.
        if (m_services.shell.CanTrayAppear())
            m_services.timers.SetTimer(IDT_TRAY_RETRY, 5000);
        else
            m_services.log.Write(LogLevel::Notice, "start",
                                 "no notification area on this display: running without an icon");
    }

    AppSettings& s = m_app.m_AppSettings;
    if (s.iLptPort > 0 && s.bMakeSureModemOn != 0)
        ModemPowerOn(false);

    if (m_RasManager.IsConnected(std::string())) {
        s.sDefaultConnection = m_RasManager.GetCurrentEntry();
    } else {
        m_RasManager.SetCurrentEntry(s.sDefaultConnection);
        if (s.bEstablishConnection != 0 && !s.sDefaultConnection.empty())
            m_services.timers.SetTimer(IDT_DIAL, 20000);
    }
    return 0;
}

unsigned CMainFrame::FindOtherInstance() {
    return tarnwick::FindOtherInstance(m_services.processes, m_services.log);
}

bool CMainFrame::CreateTrayIcon() {
    const bool bCreated = m_TrayIcon.Create(WM::TrayNotify, GetProductVersionText(), IDR_MAINFRAME,
                                            IDR_TRAYMENU, [this](CMenu& popup) {
                                                PrepareTrayMenu(&popup);
                                                UpdateMenuItems(popup);
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
        if (CreateTrayIcon())
            timers.KillTimer(IDT_TRAY_RETRY);
        break;
    case IDT_MODEM_POWER_OFF:
        ModemPowerOn(true);
        timers.KillTimer(IDT_MODEM_POWER_OFF);
        break;
    case IDT_DIAL:
        m_RasManager.Dial(m_RasManager.GetCurrentEntry());
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
}

bool CMainFrame::CheckFileRefresh() {
    std::uint64_t ftWrite = 0;
    // A file that is missing or held open by its writer right now takes no part.
    if (!m_services.files.GetLastWriteTime(m_app.m_AppSettings.sFileRefresh, ftWrite))
        return true;
    const bool bPass = m_ftLastWrite == 0 || ftWrite != m_ftLastWrite;
    m_ftLastWrite = ftWrite;
    return bPass;
}

void CMainFrame::OnCheckTimer() {
    if (m_bChecking)
        return;
    m_bChecking = true;
    const AppSettings& s = m_app.m_AppSettings;

    bool bPass = true;
    if (s.bCheckConnState != 0)
        bPass = m_RasManager.IsConnected(s.sDefaultConnection);
    if (s.bCheckFileRefresh != 0 && !CheckFileRefresh())
        bPass = false;
    if (s.bCheckURLDownload != 0 &&
        !CheckURLConnect(s.sURLDownload, m_services.net, m_services.log))
        bPass = false;

    if (bPass) {
        m_app.m_nFaultCount = 0;
    } else {
        // Saturate rather than wrap: a counter past the limit must stay past it.
        if (m_app.m_nFaultCount < INT32_MAX)
            ++m_app.m_nFaultCount;
        const std::int32_t nMaxFaults = EffectiveMaxFaults(s);
        if (m_app.m_nFaultCount == nMaxFaults) {
            OnResetModemPower();
        } else if (m_app.m_nFaultCount > nMaxFaults) {
            m_services.power.ExitSystem(EWX::Reboot);
        } else {
            const std::string strEntry = m_RasManager.GetCurrentEntry();
            if (m_RasManager.IsConnected(strEntry))
                m_RasManager.HangUp(strEntry);
            m_RasManager.Dial(strEntry);
        }
    }
    m_bChecking = false;
}

} // namespace tarnwick
