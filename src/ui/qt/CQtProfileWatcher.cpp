#include "ui/qt/CQtProfileWatcher.h"

#include <QFileInfo>

namespace tarnwick {

CQtProfileWatcher::CQtProfileWatcher(const QString& strPath, int nDebounceMs) : m_strPath(strPath) {
    m_debounce.setSingleShot(true);
    m_debounce.setInterval(nDebounceMs);
    connect(&m_debounce, &QTimer::timeout, this, [this] {
        Rearm();
        emit Changed();
    });
    connect(&m_watcher, &QFileSystemWatcher::fileChanged, this, &CQtProfileWatcher::OnEvent);
    connect(&m_watcher, &QFileSystemWatcher::directoryChanged, this, &CQtProfileWatcher::OnEvent);
    Rearm();
}

void CQtProfileWatcher::OnEvent() {
    m_debounce.start();
}

void CQtProfileWatcher::Rearm() {
    // The file after a rename is a new file, and the folder may have been made meanwhile.
    const QStringList watched = m_watcher.files() + m_watcher.directories();
    if (!watched.isEmpty())
        m_watcher.removePaths(watched);
    const QFileInfo file(m_strPath);
    const QString strFolder = file.absolutePath();
    QStringList paths;
    if (file.exists())
        paths << m_strPath;
    if (QFileInfo::exists(strFolder))
        paths << strFolder;
    else if (QFileInfo::exists(QFileInfo(strFolder).absolutePath()))
        paths << QFileInfo(strFolder).absolutePath();
    if (!paths.isEmpty())
        m_watcher.addPaths(paths);
}

} // namespace tarnwick
