#pragma once

#include "tray/CMenu.h"
#include "tray/IShellTray.h"

#include <string>
#include <vector>

namespace tarnwick {

// A notification area in memory: it shows the icon when it accepts an add, and "shows" a
// menu by remembering it and answering with a scripted choice.
class CFakeShellTray : public IShellTray {
public:
    void SetHandler(IShellTrayHandler* pHandler) override { m_pHandler = pHandler; }
    bool IsShellSupported() override { return m_bSupported; }
    bool CanTrayAppear() override { return m_bCanAppear; }
    bool NotifyIcon(unsigned dwMessage, const STrayIconData& data) override {
        m_calls.emplace_back(dwMessage == NIM::Add ? "add" : "delete");
        if (dwMessage == NIM::Add && m_bAccepts) {
            m_bIconShown = true;
            m_lastData = data;
            return true;
        }
        if (dwMessage == NIM::Delete && m_bIconShown) {
            m_bIconShown = false;
            return true;
        }
        return false;
    }
    unsigned TrackPopupMenu(const CMenu& popup) override {
        m_shownMenus.push_back(popup);
        return m_nChoice;
    }

    // Reports a mouse action on the icon to the tray object.
    void Click(unsigned nMouseMsg) {
        if (m_pHandler != nullptr)
            m_pHandler->OnTrayNotification(m_lastData.uID, nMouseMsg);
    }

    IShellTrayHandler* m_pHandler = nullptr;
    bool m_bSupported = true;
    bool m_bCanAppear = true;
    bool m_bAccepts = true;
    bool m_bIconShown = false;
    unsigned m_nChoice = 0;
    STrayIconData m_lastData;
    std::vector<std::string> m_calls;
    std::vector<CMenu> m_shownMenus;
};

} // namespace tarnwick
