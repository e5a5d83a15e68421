#include "ui/qt/CQtIcon.h"

#include <QIconEngine>
#include <QImageReader>
#include <QPainter>
#include <QPixmap>
#include <QPixmapCache>
#include <QString>

#include <array>

namespace tarnwick {

namespace {
constexpr std::array kSizes{16, 22, 24, 32, 48, 64, 128, 256};

// Draws the program icon from the embedded PNGs, decoding a size only when it is first asked
// for. Each PNG is read by QtGui's own PNG reader, named as such: left to guess, Qt's image
// reader loads every image-format plugin installed to ask whether it knows the file, which
// took a good part of the start-up. The program icon is never shown disabled or selected, so
// every mode draws the same.
class CProgramIconEngine : public QIconEngine {
public:
    QPixmap pixmap(const QSize& size, QIcon::Mode, QIcon::State) override {
        const int nWanted = std::max(size.width(), size.height());
        int nSize = kSizes.back();
        for (const int n : kSizes) {
            if (n >= nWanted) {
                nSize = n;
                break;
            }
        }
        // Qt's pixmap cache keeps them for the next window that carries the icon.
        const QString strFile = QStringLiteral(":/icons/tarnwick-%1.png").arg(nSize);
        QPixmap pixmap;
        if (!QPixmapCache::find(strFile, &pixmap)) {
            QImageReader reader(strFile, "png");
            reader.setAutoDetectImageFormat(false);
            pixmap = QPixmap::fromImage(reader.read());
            QPixmapCache::insert(strFile, pixmap);
        }
        return pixmap.size() == size || pixmap.isNull()
                   ? pixmap
                   : pixmap.scaled(size, Qt::KeepAspectRatio, Qt::SmoothTransformation);
    }
    void paint(QPainter* painter, const QRect& rect, QIcon::Mode mode,
               QIcon::State state) override {
        painter->drawPixmap(rect, pixmap(rect.size(), mode, state));
    }
    QList<QSize> availableSizes(QIcon::Mode, QIcon::State) override {
        QList<QSize> sizes;
        for (const int n : kSizes)
            sizes.push_back({n, n});
        return sizes;
    }
    QIconEngine* clone() const override { return new CProgramIconEngine(*this); }
    QString key() const override { return QStringLiteral("CProgramIconEngine"); }
};
} // namespace

QIcon ProgramIcon() {
    return QIcon(new CProgramIconEngine);
}

} // namespace tarnwick
