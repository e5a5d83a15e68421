#pragma once

#include "engine/ICommandTarget.h"
#include "engine/ITimerService.h"
#include "engine/PortTable.h"
#include "platform/CRasManager.h"
#include "tray/CSystemTray.h"

#include <cstdint>
#include <string>
#include <vector>

namespace tarnwick {

class CTarnwickApp;
class CMenu;
struct CCmdUI;
struct CServices;

// The engine: the watchdog's state and timers, the modem power cycle, the tray icon and
// the commands of its menu.
class CMainFrame : public ITimerHandler, public ICommandTarget {
public:
    CMainFrame(CTarnwickApp& app, CServices& services);
    ~CMainFrame() override;
    CMainFrame(const CMainFrame&) = delete;
    CMainFrame& operator=(const CMainFrame&) = delete;

    // Start-up: single-instance rule, tray icon, modem power-on, start-up connection.
    int OnCreate();
    unsigned FindOtherInstance();
    bool CreateTrayIcon();

    void OnTimer(unsigned nIDEvent) override;
    bool OnCommand(unsigned nID) override;
    void PostCommand(unsigned nID) override;

    // The tray menu: adapted to the connection before it shows, then enabled item by item.
    void PrepareTrayMenu(CMenu* pMenu);
    void UpdateMenuItems(CMenu& menu);
    const std::vector<std::string>& LoadEntryList();

    void OnSettings();
    void OnReboot();
    void OnShutdown();
    void OnConnectTo(unsigned nID);
    void OnReconnectCurrent();
    void OnDisconnectCurrent();
    void OnResetModemPower();

    void OnUpdateSettings(CCmdUI& cmdUI);
    void OnUpdateReconnectCurrent(CCmdUI& cmdUI);
    void OnUpdateDisconnectCurrent(CCmdUI& cmdUI);
    void OnUpdateResetModemPower(CCmdUI& cmdUI);
    void OnUpdateAppExit(CCmdUI& cmdUI);

    // Port access and the modem power cycle.
    bool IsPortLibLoaded() const { return m_hPortLib != nullptr; }
    std::uint16_t PortRead(std::uint16_t nPort);
    void PortWrite(std::uint16_t nPort, std::uint16_t nValue);
    void UpdatePortBits(std::uint16_t nPort, std::uint16_t nMask, bool bSet);
    void ModemPowerOff();
    void ModemPowerOn(bool bRedial);

    CRasManager& GetRasManager() { return m_RasManager; }
    CSystemTray& GetTrayIcon() { return m_TrayIcon; }
    bool IsModemOff() const { return m_bModemOff; }
    bool IsSettingsOpen() const { return m_bSettingsOpen; }

private:
    void OnCheckTimer();
    bool CheckFileRefresh();

    CTarnwickApp& m_app;
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
    std::uint64_t m_ftLastWrite = 0;
};

} // namespace tarnwick
