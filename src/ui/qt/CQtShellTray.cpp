#include "ui/qt/CQtShellTray.h"

#include "res/Resource.h"
#include "tray/CMenu.h"
#include "ui/qt/CQtIcon.h"
#include "ui/qt/CQtMenu.h"

#include <QAction>
#include <QCursor>
#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDBusReply>
#include <QDBusServiceWatcher>
#include <QDBusVariant>
#include <QGuiApplication>
#include <QMenu>
#include <QScreen>

namespace tarnwick {

namespace {
const QString kWatcherService = QStringLiteral("org.kde.StatusNotifierWatcher");
const QString kWatcherPath = QStringLiteral("/StatusNotifierWatcher");

bool IsWatcherRegistered() {
    const QDBusConnection bus = QDBusConnection::sessionBus();
    const QDBusConnectionInterface* pBus = bus.interface();
    return pBus != nullptr && pBus->isServiceRegistered(kWatcherService).value();
}

// Qt settles once, at its first tray call, whether its icons are StatusNotifierItems or
// XEmbed tray windows: the former when a StatusNotifierWatcher on the session bus reports a
// registered host. Asking the same question just before that first call tells which
// behaviour the icon will have.
bool IsStatusNotifierHostRegistered() {
    if (!IsWatcherRegistered())
        return false;
    QDBusMessage get = QDBusMessage::createMethodCall(
        kWatcherService, kWatcherPath, QStringLiteral("org.freedesktop.DBus.Properties"),
        QStringLiteral("Get"));
    get << kWatcherService << QStringLiteral("IsStatusNotifierHostRegistered");
    const QDBusReply<QDBusVariant> reply = QDBusConnection::sessionBus().call(get);
    return reply.isValid() && reply.value().variant().toBool();
}

bool HasTrayPlatform() {
    const QString strPlatform = QGuiApplication::platformName();
    return strPlatform == QLatin1String("xcb") || strPlatform == QLatin1String("wayland");
}
} // namespace

CQtShellTray::CQtShellTray() {
    // The work area is the primary screen's available geometry.
    connect(qGuiApp, &QGuiApplication::primaryScreenChanged, this,
            &CQtShellTray::WatchPrimaryScreen);
    WatchPrimaryScreen(QGuiApplication::primaryScreen());
}

CQtShellTray::~CQtShellTray() {
    m_pIcon.reset();
    m_pContextMenu.reset();
}

void CQtShellTray::WatchPrimaryScreen(QScreen* pScreen) {
    disconnect(m_screenConnection);
    if (pScreen == nullptr)
        return;
    m_screenConnection = connect(pScreen, &QScreen::availableGeometryChanged, this, [this] {
        if (m_pHandler != nullptr)
            m_pHandler->OnSettingChange(SPI::SetWorkArea);
    });
}

void CQtShellTray::StartWatching() {
    if (m_bWatching)
        return;
    m_bWatching = true;
    if (!HasTrayPlatform())
        return;
    m_bSni = IsStatusNotifierHostRegistered();
    if (m_bSni) {
        // The watcher leaving and coming back is the host restarting.
        m_pSniWatcher = new QDBusServiceWatcher(kWatcherService, QDBusConnection::sessionBus(),
                                                QDBusServiceWatcher::WatchForRegistration |
                                                    QDBusServiceWatcher::WatchForUnregistration,
                                                this);
        connect(m_pSniWatcher, &QDBusServiceWatcher::serviceRegistered, this,
                &CQtShellTray::OnTrayAvailabilityChanged, Qt::QueuedConnection);
        connect(m_pSniWatcher, &QDBusServiceWatcher::serviceUnregistered, this,
                &CQtShellTray::OnTrayAvailabilityChanged, Qt::QueuedConnection);
    } else if (QGuiApplication::platformName() == QLatin1String("xcb")) {
        // The xcb platform reports each change of the XEmbed tray manager (it went away, or
        // a new one took the selection) through a signal of its native interface. That
        // class has no public header; it derives from QObject alone, so its address is
        // that of its QObject.
        auto* pNative = reinterpret_cast<QObject*>(QGuiApplication::platformNativeInterface());
        if (pNative != nullptr &&
            pNative->metaObject()->indexOfSignal("systemTrayWindowChanged(QScreen*)") >= 0)
            connect(pNative, SIGNAL(systemTrayWindowChanged(QScreen*)), this,
                    SLOT(OnTrayAvailabilityChanged()), Qt::QueuedConnection);
    }
    m_bTrayAvailable = IsTrayAvailable();
}

bool CQtShellTray::CanTrayAppear() {
    return HasTrayPlatform();
}

bool CQtShellTray::IsTrayAvailable() const {
    if (m_bSni)
        return IsWatcherRegistered();
    return QSystemTrayIcon::isSystemTrayAvailable();
}

void CQtShellTray::OnTrayAvailabilityChanged() {
    const bool bAvailable = IsTrayAvailable();
    const bool bCameBack = bAvailable && !m_bTrayAvailable;
    m_bTrayAvailable = bAvailable;
    if (bCameBack && m_pHandler != nullptr)
        m_pHandler->OnTaskbarCreated();
}

bool CQtShellTray::NotifyIcon(unsigned dwMessage, const STrayIconData& data) {
    if (dwMessage == NIM::Delete) {
        if (!m_pIcon)
            return false;
        m_pIcon->hide();
        m_pIcon.reset();
        m_pContextMenu.reset();
        return true;
    }
    if (dwMessage == NIM::Modify) {
        if (!m_pIcon)
            return false;
        m_pIcon->setToolTip(QString::fromStdString(data.strTip));
        return true;
    }
    if (dwMessage != NIM::Add)
        return false;
    StartWatching();
    m_uID = data.uID;
    // An icon that was shown before stays shown even when the tray is gone right now: Qt
    // puts it back into the next tray by itself.
    m_bTrayAvailable = IsTrayAvailable();
    if (!m_bTrayAvailable)
        return false;
    if (!m_pIcon) {
        m_pIcon = std::make_unique<QSystemTrayIcon>(ProgramIcon());
        connect(m_pIcon.get(), &QSystemTrayIcon::activated, this, &CQtShellTray::OnActivated);
        if (m_bSni) {
            m_pContextMenu = std::make_unique<QMenu>();
            connect(m_pContextMenu.get(), &QMenu::aboutToShow, this,
                    &CQtShellTray::OnContextMenuAboutToShow);
            m_pIcon->setContextMenu(m_pContextMenu.get());
        }
    }
    m_pIcon->setToolTip(QString::fromStdString(data.strTip));
    m_pIcon->show();
    return true;
}

unsigned CQtShellTray::TrackPopupMenu(const CMenu& popup) {
    if (m_bFillingContextMenu && m_pContextMenu) {
        CQtMenu::Fill(*m_pContextMenu, popup);
        for (QAction* pAction : m_pContextMenu->findChildren<QAction*>()) {
            const unsigned nCmd = CQtMenu::CommandOf(pAction);
            if (nCmd != 0)
                connect(pAction, &QAction::triggered, this, [this, nCmd] {
                    if (m_pHandler != nullptr)
                        m_pHandler->OnTrayCommand(nCmd);
                });
        }
        return 0;
    }
    CQtMenu menu(popup);
    return menu.Exec(QCursor::pos());
}

void CQtShellTray::OnContextMenuAboutToShow() {
    if (m_pHandler == nullptr)
        return;
    // The handler builds the menu afresh and hands it to TrackPopupMenu, which fills the
    // menu that the host is about to draw.
    m_bFillingContextMenu = true;
    m_pHandler->OnTrayNotification(m_uID, WM::RButtonUp);
    m_bFillingContextMenu = false;
}

void CQtShellTray::PostNotification(unsigned nMouseMsg) {
    // Runs once the tray window has finished with the mouse event: the menu's own event
    // loop must not run inside it (the window may be replaced meanwhile).
    QMetaObject::invokeMethod(
        this,
        [this, nMouseMsg] {
            if (m_pHandler != nullptr)
                m_pHandler->OnTrayNotification(m_uID, nMouseMsg);
        },
        Qt::QueuedConnection);
}

void CQtShellTray::OnActivated(QSystemTrayIcon::ActivationReason reason) {
    switch (reason) {
    case QSystemTrayIcon::Context:
        // A StatusNotifierItem host draws the context menu itself.
        if (!m_bSni)
            PostNotification(WM::RButtonUp);
        break;
    case QSystemTrayIcon::DoubleClick:
        PostNotification(WM::LButtonDblClk);
        break;
    case QSystemTrayIcon::Trigger:
        // Under XEmbed this is the press of a single click (and the first press of every
        // double click): nothing. A StatusNotifierItem host reports no double click; its
        // primary activation stands in for it.
        if (m_bSni)
            PostNotification(WM::LButtonDblClk);
        break;
    default:
        break;
    }
}

} // namespace tarnwick
