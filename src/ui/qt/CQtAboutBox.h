#pragma once

#include <QDialog>
#include <QRect>

class QFontMetrics;

namespace tarnwick {

struct SAboutTemplate;

// The about box built from its template: controls placed by converting dialog units with
// the dialog font's metrics, a caption without close button, modal.
class CQtAboutBox : public QDialog {
    Q_OBJECT
public:
    explicit CQtAboutBox(const SAboutTemplate& dlgTemplate, QWidget* pParent = nullptr);

    // Dialog units to pixels: x * average character width / 4, y * character height / 8,
    // rounded to the nearest pixel.
    static QRect MapDialogRect(const QFontMetrics& metrics, int x, int y, int cx, int cy);
};

} // namespace tarnwick
