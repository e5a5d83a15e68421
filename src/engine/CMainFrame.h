#pragma once

#include "engine/COutageHistory.h"
#include "engine/CRebootBudget.h"
#include "engine/IAppCommands.h"
#include "engine/IFrameStatus.h"
#include "engine/ITimerService.h"
#include "engine/PortTable.h"
#include "platform/CRasManager.h"
#include "platform/ILog.h"
#include "res/CVersionInfo.h"
#include "tray/CSystemTray.h"
#include "tray/ICommandTarget.h"

#include <cstdint>
#include <string>
#include <vector>

namespace tarnwick {

struct AppSettings;
class CMenu;
struct CCmdUI;
struct CServices;

// The engine: the watchdog's state and timers, the modem power cycle, the tray icon and
// the commands of its menu.
class CMainFrame : public ITimerHandler, public ICommandTarget, public IFrameStatus {
public:
    CMainFrame(IAppCommands& app, AppSettings& settings, CServices& services);
    ~CMainFrame() override;
    CMainFrame(const CMainFrame&) = delete;
    CMainFrame& operator=(const CMainFrame&) = delete;

    // Start-up: single-instance rule, tray icon, modem power-on, start-up connection.
    int OnCreate();

    void OnTimer(unsigned nIDEvent) override;
    bool OnCommand(unsigned nID) override;
    void PostCommand(unsigned nID) override;

    const std::vector<std::string>& LoadEntryList() override;
    bool IsPortLibLoaded() const override { return m_hPortLib != nullptr; }

    // The modem power cycle, and the port register it works through.
    void OnResetModemPower();
    void ModemPowerOn(bool bRedial);
    std::uint16_t PortRead(std::uint16_t nPort);

    // Says what the engine is doing: the state report for --status, the tooltip's third line.
    // Runs after every change of state.
    void PublishStatus();
    // The check timer was armed anew (or not: 0): the count of failed checks starts over.
    void OnCheckTimerArmed(std::int64_t tNextCheck);
    // Failed checks in a row.
    std::int32_t GetFaultCount() const { return m_nFaultCount; }

    CRasManager& GetRasManager() { return m_RasManager; }
    bool IsModemOff() const { return m_bModemOff; }
    bool IsSettingsOpen() const { return m_bSettingsOpen; }

private:
    unsigned FindOtherInstance();
    bool CreateTrayIcon();

    // The tray menu: adapted to the connection before it shows, then enabled item by item.
    void PrepareTrayMenu(CMenu* pMenu);
    void UpdateMenuItems(CMenu& menu);

    void OnSettings();
    void OnReboot();
    void OnShutdown();
    void OnConnectTo(unsigned nID);
    void OnReconnectCurrent();
    void OnDisconnectCurrent();

    void OnUpdateSettings(CCmdUI& cmdUI);
    void OnUpdateReconnectCurrent(CCmdUI& cmdUI);
    void OnUpdateDisconnectCurrent(CCmdUI& cmdUI);
    void OnUpdateResetModemPower(CCmdUI& cmdUI);
    void OnUpdateAppExit(CCmdUI& cmdUI);

    void PortWrite(std::uint16_t nPort, std::uint16_t nValue);
    void UpdatePortBits(std::uint16_t nPort, std::uint16_t nMask, bool bSet);
    void ModemPowerOff();

    // What the next failed check will do: "re-dial", "power cycle", "reboot", ...
    std::string NextStep() const;
    std::string TooltipText() const;

    void OnCheckTimer();
    // Each check: true when it passed; a failed one says why.
    bool CheckConnState(std::string& strCause);
    bool CheckFileRefresh(std::string& strCause);
    void OnCheckPassed();
    void OnCheckFailed(const std::string& strCause);
    void Redial();
    void Reboot();
    // Hang-up and dial with their outcome and duration in the log.
    bool LoggedHangUp(const std::string& strEntry, const char* pszWhy);
    bool LoggedDial(const std::string& strEntry, const char* pszWhy);
    bool LoggedExitSystem(unsigned uFlags, const std::string& strWhy);
    void Log(LogLevel level, const char* pszStep, const std::string& strText);

    IAppCommands& m_app;
    AppSettings& m_AppSettings;
    CServices& m_services;
    void* m_hPortLib = nullptr;
    PFN_IN32 m_pfnIn32 = nullptr;
    PFN_OUT32 m_pfnOut32 = nullptr;
    CSystemTray m_TrayIcon;
    CRasManager m_RasManager;
    std::vector<std::string> m_Entries;
    bool m_bModemOff = false;
    bool m_bSettingsOpen = false;
    bool m_bChecking = false;
    // While the tray menu is being prepared: whether the current entry was up.
    bool m_bMenuShowing = false;
    bool m_bMenuCurrentUp = false;
    std::uint64_t m_ftLastWrite = 0;
    std::int32_t m_nFaultCount = 0;

    COutageHistory m_History;
    CRebootBudget m_RebootBudget;
    // For the state report: the last check, the next ones, the modem's power as last set.
    std::int64_t m_tLastCheck = 0;
    bool m_bLastCheckPassed = true;
    std::string m_strLastCause;
    std::int64_t m_tNextCheck = 0;
    std::string m_strModemPower = "not switched yet";
    std::string m_strConnState = "not checked yet";
    // The tooltip's first lines, the same for the whole run; the tooltip is rebuilt at
    // every check.
    const std::string m_strProductVersion = GetProductVersionText();
    bool m_bFileSkipped = false;
    // The register change of the last UpdatePortBits, "0x37a 0xff -> 0xfb", for the log.
    std::string m_strPortChange;
    bool m_bRebootWarned = false;
    bool m_bStatusWarned = false;
};

} // namespace tarnwick
