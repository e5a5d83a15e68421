#pragma once

#include "tray/IShellTray.h"

#include <QObject>
#include <QSystemTrayIcon>

#include <memory>

class QDBusServiceWatcher;
class QMenu;
class QScreen;

namespace tarnwick {

// The notification area through QSystemTrayIcon.
//
// What stands in for the shell's messages:
// - an add succeeds when a tray is available; the icon is then shown;
// - "TaskbarCreated" is reported when a tray becomes available after it was gone (the XEmbed
//   tray manager or the StatusNotifierWatcher came back); both are watched through events,
//   nothing polls;
// - a change of the primary screen's available geometry is the work-area change.
//
// Two kinds of hosts: under an XEmbed tray Qt reports presses, so a right press shows the
// menu (built afresh through the handler each time) and a double click runs the default
// command; a left single click does nothing. A StatusNotifierItem host reports no double
// click and draws the menu itself: there the primary activation stands in for the double
// click and the menu is handed over as the icon's context menu, rebuilt each time before
// it opens.
class CQtShellTray : public QObject, public IShellTray {
    Q_OBJECT
public:
    CQtShellTray();
    ~CQtShellTray() override;

    void SetHandler(IShellTrayHandler* pHandler) override { m_pHandler = pHandler; }
    bool IsShellSupported() override { return true; }
    // Only the desktop platforms have a tray; the offscreen one never will.
    bool CanTrayAppear() override;
    bool NotifyIcon(unsigned dwMessage, const STrayIconData& data) override;
    unsigned TrackPopupMenu(const CMenu& popup) override;

    // True when the icon is a StatusNotifierItem rather than an XEmbed tray window.
    bool IsStatusNotifierHost() const { return m_bSni; }

private Q_SLOTS:
    void OnTrayAvailabilityChanged();

private:
    void StartWatching();
    bool IsTrayAvailable() const;
    void OnActivated(QSystemTrayIcon::ActivationReason reason);
    void OnContextMenuAboutToShow();
    void WatchPrimaryScreen(QScreen* pScreen);
    void PostNotification(unsigned nMouseMsg);

    IShellTrayHandler* m_pHandler = nullptr;
    std::unique_ptr<QSystemTrayIcon> m_pIcon;
    std::unique_ptr<QMenu> m_pContextMenu;
    QDBusServiceWatcher* m_pSniWatcher = nullptr;
    QMetaObject::Connection m_screenConnection;
    unsigned m_uID = 0;
    bool m_bWatching = false;
    bool m_bSni = false;
    bool m_bTrayAvailable = false;
    bool m_bFillingContextMenu = false;
};

} // namespace tarnwick
