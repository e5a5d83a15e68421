#pragma once

#include "tray/IShellTray.h"

#include <functional>
#include <string>

namespace tarnwick {

class CMenu;
class ICommandTarget;

// The program's icon in the notification area: its tooltip, its pop-up menu on a right
// click, the menu's default command on a double click, and its return after the
// notification area restarts.
class CSystemTray : public IShellTrayHandler {
public:
    using MenuHook = std::function<void(CMenu&)>;

    // pTarget receives the commands chosen from the menu or run by a double click.
    CSystemTray(IShellTray& shell, ICommandTarget& target);
    ~CSystemTray() override;
    CSystemTray(const CSystemTray&) = delete;
    CSystemTray& operator=(const CSystemTray&) = delete;

    // Adds the icon; true when it is in the notification area.
    bool Create(unsigned uCallbackMessage, const std::string& strTip, unsigned nIconResource,
                unsigned uID, MenuHook fnMenuHook);
    bool SetDefaultMenuItem(unsigned nItem, bool bByPos);
    // A new tooltip (cut as Create cuts it), shown at once when the icon is there and kept
    // for the next add.
    bool SetTooltipText(const std::string& strTip);

    // IShellTrayHandler
    void OnTrayNotification(unsigned nIconID, unsigned nMouseMsg) override;
    void OnTaskbarCreated() override;
    void OnSettingChange(unsigned uFlags) override;
    void OnTrayCommand(unsigned nCmd) override;

    // 0 when the notification is not for this icon or cannot be served, else 1.
    virtual unsigned HandleTrayMessage(unsigned nIconID, unsigned nMouseMsg);

    bool IsIconAbsent() const { return m_bIconAbsent; }
    bool IsIconRemoved() const { return m_bIconRemoved; }
    bool IsRestorePending() const { return m_bRestorePending; }

protected:
    virtual void PrepareMenu(CMenu& popup);

private:
    void RestoreIcon();
    void RemoveIcon();

    IShellTray& m_shell;
    ICommandTarget& m_target;
    MenuHook m_fnMenuHook;
    STrayIconData m_nid;
    bool m_bShellSupported = false;
    bool m_bIconAbsent = true;
    bool m_bIconRemoved = true;
    bool m_bRestorePending = false;
    unsigned m_nDefaultItem = 0;
    bool m_bDefaultByPos = true;
    unsigned m_uAddFlags = 0;
};

// A tooltip cut as the icon record's 128-byte field holds it: at a NUL byte, and to at most
// 127 bytes, never inside a UTF-8 character.
std::string CutTrayTip(const std::string& strTip);

} // namespace tarnwick
