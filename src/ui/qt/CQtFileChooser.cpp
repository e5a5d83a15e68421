#include "ui/qt/CQtFileChooser.h"

#include "ui/qt/CQtIcon.h"

#include <QApplication>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QFontMetrics>
#include <QScreen>

namespace tarnwick {

QString CQtFileChooser::StartFolder(const std::string& strPathName) {
    if (!strPathName.empty()) {
        const QFileInfo file(QString::fromStdString(strPathName));
        if (file.isAbsolute() && file.absoluteDir().exists())
            return file.absolutePath();
    }
    return QDir::homePath();
}

QStringList CQtFileChooser::ToNameFilters(const std::string& strFilter) {
    const QStringList parts = QString::fromStdString(strFilter).split(QLatin1Char('|'));
    QStringList filters;
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        if (parts[i].isEmpty())
            break;
        QStringList patterns = parts[i + 1].split(QLatin1Char(';'), Qt::SkipEmptyParts);
        for (QString& strPattern : patterns) {
            strPattern = strPattern.trimmed();
            if (strPattern == QLatin1String("*.*"))
                strPattern = QStringLiteral("*");
        }
        filters << QStringLiteral("%1 (%2)").arg(parts[i], patterns.join(QLatin1Char(' ')));
    }
    return filters;
}

bool CQtFileChooser::ChooseFileToOpen(const std::string& strFilter, std::string& strPathName) {
    // Above the parameters dialog, which stays on top of everything else.
    QWidget* pParent = QApplication::activeModalWidget();
    if (pParent == nullptr)
        pParent = QApplication::activeWindow();
    QFileDialog dialog(pParent);
    dialog.setWindowIcon(ProgramIcon());
    dialog.setDirectory(StartFolder(strPathName));
    if (!strPathName.empty() && QFileInfo(QString::fromStdString(strPathName)).isFile())
        dialog.selectFile(QString::fromStdString(strPathName));
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(QFileDialog::ExistingFile);
    dialog.setOption(QFileDialog::HideNameFilterDetails);
    dialog.setNameFilters(ToNameFilters(strFilter));
    // At a large font its own size may exceed a small screen, its buttons then below the edge.
    if (const QScreen* pScreen = QGuiApplication::primaryScreen()) {
        const int nCaption = 2 * QFontMetrics(dialog.font()).height();
        const QSize available = pScreen->availableGeometry().size() - QSize(16, nCaption + 8);
        dialog.resize(dialog.sizeHint().boundedTo(available).expandedTo(dialog.minimumSizeHint()));
    }
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return false;
    // The desktop's own dialog may hand back a name that was only typed: the watched file
    // must be one that exists.
    const QString strChosen = dialog.selectedFiles().constFirst();
    if (!QFileInfo::exists(strChosen))
        return false;
    strPathName = strChosen.toStdString();
    return true;
}

} // namespace tarnwick
