#include "tray/CSystemTray.h"

#include "res/Resource.h"
#include "tray/CMenu.h"
#include "tray/ICommandTarget.h"
#include "tray/TrayMenu.h"

#include <utility>

namespace tarnwick {

namespace {
// The icon record's tooltip field holds 128 bytes with its terminator.
constexpr std::size_t s_nTipLimit = 128;

// The tray menu's pop-up, or false when the menu has none.
bool LoadPopup(CMenu& popup) {
    CMenu menu = LoadTrayMenu();
    CMenu* pPopup = menu.GetSubMenu(0);
    if (pPopup == nullptr)
        return false;
    popup = std::move(*pPopup);
    return true;
}
} // namespace

std::string CutTrayTip(const std::string& strTip) {
    // The field is a C string: a NUL byte ends the text.
    std::string strText = strTip.substr(0, strTip.find('\0'));
    if (strText.size() <= s_nTipLimit - 1)
        return strText;
    // Byte 127 would be the first one left out. If it continues a UTF-8 character, step
    // back to that character's lead byte so that the whole character is left out.
    std::size_t nEnd = s_nTipLimit - 1;
    while (nEnd > 0 && (static_cast<unsigned char>(strText[nEnd]) & 0xC0) == 0x80)
        --nEnd;
    return strText.substr(0, nEnd);
}

CSystemTray::CSystemTray(IShellTray& shell, ICommandTarget& target)
    : m_shell(shell), m_target(target) {}

CSystemTray::~CSystemTray() {
    RemoveIcon();
    m_shell.SetHandler(nullptr);
}

bool CSystemTray::Create(unsigned uCallbackMessage, const std::string& strTip,
                         unsigned nIconResource, unsigned uID, MenuHook fnMenuHook) {
    m_fnMenuHook = std::move(fnMenuHook);
    m_bShellSupported = m_shell.IsShellSupported();
    if (!m_bShellSupported)
        return false;
    m_shell.SetHandler(this);

    m_nid = STrayIconData{};
    m_nid.uID = uID;
    m_nid.uFlags = NIF::Message | NIF::Icon | NIF::Tip;
    m_nid.uCallbackMessage = uCallbackMessage;
    m_nid.nIconResource = nIconResource;
    m_nid.strTip = CutTrayTip(strTip);
    m_uAddFlags = m_nid.uFlags;

    const bool bAdded = m_shell.NotifyIcon(NIM::Add, m_nid);
    m_bIconAbsent = m_bIconRemoved = m_bRestorePending = !bAdded;
    return bAdded;
}

bool CSystemTray::SetDefaultMenuItem(unsigned nItem, bool bByPos) {
    if (nItem == m_nDefaultItem && bByPos == m_bDefaultByPos)
        return true;
    m_nDefaultItem = nItem;
    m_bDefaultByPos = bByPos;
    CMenu popup;
    if (!LoadPopup(popup))
        return false;
    popup.SetDefaultItem(nItem, bByPos);
    return true;
}

bool CSystemTray::SetTooltipText(const std::string& strTip) {
    const std::string strCut = CutTrayTip(strTip);
    if (strCut == m_nid.strTip)
        return true;
    m_nid.strTip = strCut;
    if (m_bIconAbsent)
        return false;
    return m_shell.NotifyIcon(NIM::Modify, m_nid);
}

void CSystemTray::OnTrayNotification(unsigned nIconID, unsigned nMouseMsg) {
    HandleTrayMessage(nIconID, nMouseMsg);
}

unsigned CSystemTray::HandleTrayMessage(unsigned nIconID, unsigned nMouseMsg) {
    if (nIconID != m_nid.uID)
        return 0;
    const unsigned nMsg = nMouseMsg & 0xFFFFu;
    if (nMsg == WM::RButtonUp) {
        CMenu popup;
        if (!LoadPopup(popup))
            return 0;
        popup.SetDefaultItem(m_nDefaultItem, m_bDefaultByPos);
        PrepareMenu(popup);
        const unsigned nCmd = m_shell.TrackPopupMenu(popup);
        if (nCmd != 0)
            m_target.PostCommand(nCmd);
        return 1;
    }
    if (nMsg == WM::LButtonDblClk) {
        unsigned nCmd = m_nDefaultItem;
        if (m_bDefaultByPos) {
            CMenu popup;
            if (!LoadPopup(popup))
                return 0;
            nCmd = popup.GetMenuItemID(static_cast<int>(m_nDefaultItem));
        }
        m_target.PostCommand(nCmd);
        return 1;
    }
    return 1;
}

void CSystemTray::PrepareMenu(CMenu& popup) {
    if (m_fnMenuHook)
        m_fnMenuHook(popup);
}

void CSystemTray::OnTrayCommand(unsigned nCmd) {
    if (nCmd != 0)
        m_target.PostCommand(nCmd);
}

void CSystemTray::OnTaskbarCreated() {
    m_bRestorePending = true;
    RestoreIcon();
}

void CSystemTray::OnSettingChange(unsigned uFlags) {
    if (uFlags != SPI::SetWorkArea)
        return;
    m_bRestorePending = !m_bIconAbsent;
    RestoreIcon();
}

void CSystemTray::RestoreIcon() {
    if (!m_bRestorePending || m_bIconAbsent)
        return;
    m_nid.uFlags = m_uAddFlags;
    const bool bAdded = m_shell.NotifyIcon(NIM::Add, m_nid);
    m_bIconAbsent = m_bRestorePending = !bAdded;
}

void CSystemTray::RemoveIcon() {
    m_bRestorePending = false;
    if (!m_bShellSupported || m_bIconRemoved)
        return;
    m_nid.uFlags = 0;
    if (m_shell.NotifyIcon(NIM::Delete, m_nid))
        m_bIconAbsent = m_bIconRemoved = true;
}

} // namespace tarnwick
