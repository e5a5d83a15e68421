#include "ui/qt/CQtIcon.h"

#include <QString>

namespace tarnwick {

QIcon ProgramIcon() {
    QIcon icon;
    for (int nSize : {16, 22, 24, 32, 48, 64, 128, 256})
        icon.addFile(QStringLiteral(":/icons/tarnwick-%1.png").arg(nSize), QSize(nSize, nSize));
    return icon;
}

} // namespace tarnwick
