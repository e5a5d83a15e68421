#pragma once

#include "tray/IShellTray.h"

#include <QObject>
#include <QSystemTrayIcon>

#include <memory>

// The notification area through QSystemTrayIcon.
class CQtShellTray : public QObject, public IShellTray {
    Q_OBJECT
public:
    CQtShellTray();
    ~CQtShellTray() override;

    void SetHandler(IShellTrayHandler* pHandler) override { m_pHandler = pHandler; }
    bool IsShellSupported() override { return true; }
    bool NotifyIcon(unsigned dwMessage, const STrayIconData& data) override;
    unsigned TrackPopupMenu(const CMenu& popup) override;

private:
    void OnActivated(QSystemTrayIcon::ActivationReason reason);

    IShellTrayHandler* m_pHandler = nullptr;
    std::unique_ptr<QSystemTrayIcon> m_pIcon;
    unsigned m_uID = 0;
};
