#pragma once

#include <QFileSystemWatcher>
#include <QObject>
#include <QString>
#include <QTimer>

namespace tarnwick {

// Tells when the settings file may have changed on disk. Editors and the program itself
// replace the file by renaming a new one over it, which ends a watch on the file, so the
// folder is watched as well (or, before the folder exists, the folder above it). A burst of
// events (a temporary file, the rename, a second write) becomes one Changed, a short while
// after the last of them. Whether a value really changed is for the receiver to find out.
class CQtProfileWatcher : public QObject {
    Q_OBJECT
public:
    explicit CQtProfileWatcher(const QString& strPath, int nDebounceMs = 250);

signals:
    void Changed();

private:
    void Rearm();
    void OnEvent();

    QString m_strPath;
    QFileSystemWatcher m_watcher;
    QTimer m_debounce;
};

} // namespace tarnwick
