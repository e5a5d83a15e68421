// The tray menu and its commands.
#include "engine/CMainFrame.h"

#include "engine/AppSettings.h"
#include "engine/CCmdUI.h"
#include "engine/CServices.h"
#include "engine/IUserInterface.h"
#include "platform/IPowerService.h"
#include "res/Resource.h"
#include "tray/CMenu.h"

namespace tarnwick {

namespace {
// Entry names are shown as they are: an "&" in a name is not a mnemonic.
std::string MenuLiteral(const std::string& strText) {
    std::string strOut;
    for (char c : strText) {
        if (c == '&')
            strOut += '&';
        strOut += c;
    }
    return strOut;
}

std::string ReplaceAll(std::string strText, const std::string& strFrom, const std::string& strTo) {
    for (std::string::size_type p = 0; (p = strText.find(strFrom, p)) != std::string::npos;
         p += strTo.size())
        strText.replace(p, strFrom.size(), strTo);
    return strText;
}
} // namespace

void CMainFrame::PrepareTrayMenu(CMenu* pMenu) {
    if (pMenu == nullptr)
        return;
    m_RasManager.IsConnected(std::string());
    // One look at the connections serves the whole showing (the update rules too).
    m_bMenuCurrentUp = m_RasManager.IsCurrentUp();
    m_bMenuShowing = true;
    CMenu* pConnections = pMenu->GetSubMenu(3);
    if (pConnections == nullptr)
        return;
    const std::string strCurrent = m_RasManager.GetCurrentEntry();
    if (!strCurrent.empty()) {
        const unsigned nIDs[] = {ID_RECONNECT_CURRENT, ID_DISCONNECT_CURRENT};
        for (int nPos = 0; nPos < 2; ++nPos) {
            const std::string strText = pConnections->GetMenuText(nPos).substr(0, 255);
            pConnections->ModifyMenuItem(nPos, nIDs[nPos],
                                         ReplaceAll(strText, "current", MenuLiteral(strCurrent)));
        }
    } else {
        pConnections->EnableMenuItem(0, false);
        pConnections->EnableMenuItem(1, false);
    }
    if (CMenu* pConnectTo = pConnections->GetSubMenu(2)) {
        pConnectTo->DeleteMenu(0);
        LoadEntryList();
        // The command range holds 101 entries; further entries are not offered.
        const std::size_t nMax = ID_CONNECT_LAST - ID_CONNECT_FIRST + 1;
        for (std::size_t i = 0; i < m_Entries.size() && i < nMax; ++i)
            pConnectTo->AppendCommand(ID_CONNECT_FIRST + static_cast<unsigned>(i),
                                      MenuLiteral(m_Entries[i]));
    }
}

void CMainFrame::UpdateMenuItems(CMenu& menu) {
    for (int nPos = 0; nPos < menu.GetMenuItemCount(); ++nPos) {
        if (CMenu* pSub = menu.GetSubMenu(nPos)) {
            UpdateMenuItems(*pSub);
            continue;
        }
        const unsigned nID = menu.GetMenuItemID(nPos);
        CCmdUI cmdUI{nID, menu.ItemAt(nPos)->bEnabled};
        switch (nID) {
        case ID_SETTINGS:
            OnUpdateSettings(cmdUI);
            break;
        case ID_RECONNECT_CURRENT:
            OnUpdateReconnectCurrent(cmdUI);
            break;
        case ID_DISCONNECT_CURRENT:
            OnUpdateDisconnectCurrent(cmdUI);
            break;
        case ID_RESET_MODEM_POWER:
            OnUpdateResetModemPower(cmdUI);
            break;
        case ID_APP_EXIT:
            OnUpdateAppExit(cmdUI);
            break;
        default:
            continue;
        }
        menu.EnableMenuItem(nPos, cmdUI.m_bEnabled);
    }
}

const std::vector<std::string>& CMainFrame::LoadEntryList() {
    m_Entries = m_RasManager.EnumEntryNames();
    return m_Entries;
}

bool CMainFrame::OnCommand(unsigned nID) {
    if (nID >= ID_CONNECT_FIRST && nID <= ID_CONNECT_LAST) {
        OnConnectTo(nID);
        return true;
    }
    switch (nID) {
    case ID_SETTINGS:
        OnSettings();
        return true;
    case ID_REBOOT:
        OnReboot();
        return true;
    case ID_SHUTDOWN:
        OnShutdown();
        return true;
    case ID_RECONNECT_CURRENT:
        OnReconnectCurrent();
        return true;
    case ID_DISCONNECT_CURRENT:
        OnDisconnectCurrent();
        return true;
    case ID_RESET_MODEM_POWER:
        OnResetModemPower();
        PublishStatus();
        return true;
    case ID_APP_ABOUT:
        m_app.OnAppAbout();
        return true;
    case ID_APP_EXIT:
        m_app.SetExitReason("Exit chosen from the tray menu");
        m_services.ui.PostQuit();
        return true;
    default:
        return false;
    }
}

void CMainFrame::PostCommand(unsigned nID) {
    m_services.ui.Post([this, nID] { OnCommand(nID); });
}

void CMainFrame::OnSettings() {
    // One dialog at a time; asked for again, the open one comes to the front, since it may
    // be minimised or hidden behind other windows and has no taskbar entry of its own.
    if (m_bSettingsOpen) {
        m_services.ui.RaiseSettings();
        return;
    }
    m_bSettingsOpen = true;
    m_app.OnAppSettings();
    m_bSettingsOpen = false;
}

void CMainFrame::OnReboot() {
    if (m_services.ui.AskYesNo("Are you sure you want to REBOOT the System?"))
        LoggedExitSystem(EWX::Reboot, "from the tray menu");
}

void CMainFrame::OnShutdown() {
    if (m_services.ui.AskYesNo("Are you sure you want to SHUTDOWN the System?"))
        LoggedExitSystem(EWX::Shutdown, "from the tray menu");
}

void CMainFrame::OnConnectTo(unsigned nID) {
    const std::size_t nIndex = nID - ID_CONNECT_FIRST;
    if (nIndex < m_Entries.size())
        LoggedDial(m_Entries[nIndex], "connect from the tray menu");
}

void CMainFrame::OnReconnectCurrent() {
    const std::string strName = m_RasManager.GetCurrentEntry();
    const bool bUp = m_RasManager.IsConnected(strName);
    if (bUp && !m_services.ui.AskYesNo("Disconnect " + strName + " and connect it again?"))
        return;
    // Hung up also when nothing is up, as before; only a real hang-up is worth a line.
    if (bUp)
        LoggedHangUp(strName, "reconnect from the tray menu");
    else
        m_RasManager.HangUp(strName);
    LoggedDial(strName, "reconnect from the tray menu");
    PublishStatus();
}

void CMainFrame::OnDisconnectCurrent() {
    LoggedHangUp(m_RasManager.GetCurrentEntry(), "disconnect from the tray menu");
}

void CMainFrame::OnUpdateSettings(CCmdUI& cmdUI) {
    // Also while the dialog is open: Settings then finds it again. Where the tray host has
    // no double click (StatusNotifierItem), the menu is the only way back to it.
    cmdUI.Enable(true);
}

void CMainFrame::OnUpdateReconnectCurrent(CCmdUI& cmdUI) {
    cmdUI.Enable(!m_RasManager.GetCurrentEntry().empty());
}

void CMainFrame::OnUpdateDisconnectCurrent(CCmdUI& cmdUI) {
    const std::string strCurrent = m_RasManager.GetCurrentEntry();
    cmdUI.Enable(!strCurrent.empty() &&
                 (m_bMenuShowing ? m_bMenuCurrentUp : m_RasManager.IsConnected(strCurrent)));
}

void CMainFrame::OnUpdateResetModemPower(CCmdUI& cmdUI) {
    cmdUI.Enable(IsPortLibLoaded() && m_AppSettings.iLptPort != 0 && !m_bModemOff);
}

void CMainFrame::OnUpdateAppExit(CCmdUI& cmdUI) {
    cmdUI.Enable(!m_bModemOff);
}

} // namespace tarnwick
