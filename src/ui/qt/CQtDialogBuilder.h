#pragma once

#include "res/DialogTemplate.h"

#include <QFont>
#include <QRect>

#include <map>
#include <span>

class QWidget;

namespace tarnwick {

// Makes the widgets of a dialog template. Dialog units become pixels through the metrics
// of the dialog's font: 4 horizontal units are its average character width (or more, see
// FitTexts), 8 vertical units its line height, so the layout keeps its proportions
// at any font.
class CQtDialogBuilder {
public:
    explicit CQtDialogBuilder(const QFont& font);

    const QFont& GetFont() const { return m_font; }
    double GetBaseUnitX() const { return m_cxChar; }
    int GetBaseUnitY() const { return m_cyChar; }
    // The horizontal unit at which the text of this control just fits, in pixels per 4
    // dialog units; 0 for a control without text.
    double GetFittingUnitX(const SDlgItemTemplate& item) const;
    // Widens the horizontal unit where a text of the template would not fit at the font's
    // average character width. Fonts differ in how wide a phrase is against their average
    // letter; the positions keep their proportions, and no label loses its last words.
    void FitTexts(const SDlgTemplate& dlg);
    // The same for a text the program puts into the control later (a label's text, an entry
    // of a list).
    void FitText(const SDlgItemTemplate& item, const char* pszText);
    // A rectangle in dialog units as pixels; each edge is converted on its own, so controls
    // that touch in dialog units touch in pixels.
    QRect MapDialogRect(const SDlgUnitRect& rc) const;

    // Creates every control of the template as a child of pParent, in template order (which
    // is also the order the Tab key follows), and answers the widgets by control id.
    std::map<int, QWidget*> Build(const SDlgTemplate& dlg, QWidget* pParent) const;
    // One control.
    QWidget* CreateItem(const SDlgItemTemplate& item, QWidget* pParent) const;

private:
    QFont m_font;
    double m_cxChar;
    int m_cyChar;
};

} // namespace tarnwick
