#include "ui/qt/CQtShellTray.h"

#include "res/Resource.h"
#include "tray/CMenu.h"
#include "ui/qt/CQtMenu.h"

#include <QCursor>
#include <QGuiApplication>
#include <QPainter>
#include <QPixmap>

namespace {
QIcon ProgramIcon() {
    QPixmap pixmap(32, 32);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setBrush(QColor(0x2e, 0x6d, 0xb4));
    painter.setPen(Qt::NoPen);
    painter.drawEllipse(2, 2, 28, 28);
    return QIcon(pixmap);
}
} // namespace

CQtShellTray::CQtShellTray() = default;
CQtShellTray::~CQtShellTray() = default;

bool CQtShellTray::NotifyIcon(unsigned dwMessage, const STrayIconData& data) {
    if (dwMessage == NIM_DELETE) {
        if (!m_pIcon)
            return false;
        m_pIcon->hide();
        m_pIcon.reset();
        return true;
    }
    if (dwMessage != NIM_ADD || !QSystemTrayIcon::isSystemTrayAvailable())
        return false;
    if (!m_pIcon) {
        m_pIcon = std::make_unique<QSystemTrayIcon>(ProgramIcon());
        connect(m_pIcon.get(), &QSystemTrayIcon::activated, this, &CQtShellTray::OnActivated);
    }
    m_uID = data.uID;
    m_pIcon->setToolTip(QString::fromStdString(data.strTip));
    m_pIcon->show();
    return true;
}

unsigned CQtShellTray::TrackPopupMenu(const CMenu& popup) {
    CQtMenu menu(popup);
    return menu.Exec(QCursor::pos());
}

void CQtShellTray::OnActivated(QSystemTrayIcon::ActivationReason reason) {
    if (m_pHandler == nullptr)
        return;
    switch (reason) {
    case QSystemTrayIcon::Context:
        m_pHandler->OnTrayNotification(m_uID, WM_RBUTTONUP);
        break;
    case QSystemTrayIcon::DoubleClick:
        m_pHandler->OnTrayNotification(m_uID, WM_LBUTTONDBLCLK);
        break;
    default:
        break;
    }
}
