#include "ui/qt/CQtDialogBuilder.h"

#include "ui/qt/CQtTabControl.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFontMetrics>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include <QApplication>
#include <QStyle>
#include <QStyleOptionComboBox>

#include <algorithm>
#include <cmath>

namespace tarnwick {

namespace {
// Dialog units to pixels, rounded to the nearest pixel.
int ToPixels(int nUnits, double dUnitPixels, int nUnitsPerUnit) {
    return static_cast<int>(std::lround(nUnits * dUnitPixels / nUnitsPerUnit));
}

QWidget* CreateButton(const SDlgItemTemplate& item, QWidget* pParent) {
    const QString strText = QString::fromStdString(item.pszText);
    switch (item.dwStyle & BS::TypeMask) {
    case BS::AutoCheckBox:
        return new QCheckBox(strText, pParent);
    case BS::GroupBox:
        return new QGroupBox(strText, pParent);
    default: {
        auto* pButton = new QPushButton(strText, pParent);
        pButton->setDefault((item.dwStyle & BS::TypeMask) == BS::DefPushButton);
        return pButton;
    }
    }
}

QWidget* CreateStatic(const SDlgItemTemplate& item, QWidget* pParent) {
    // A left-aligned static wraps its words onto the next line, as far as its height goes.
    auto* pLabel = new QLabel(QString::fromStdString(item.pszText), pParent);
    pLabel->setWordWrap(true);
    pLabel->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    pLabel->setTextFormat(Qt::PlainText);
    return pLabel;
}

QComboBox* CreateComboBox(const SDlgItemTemplate& item, QWidget* pParent) {
    auto* pCombo = new QComboBox(pParent);
    if ((item.dwStyle & CBS::TypeMask) == CBS::DropDown) {
        pCombo->setEditable(true);
        // The field takes any name as typed: nothing is completed and nothing is added.
        pCombo->setCompleter(nullptr);
        pCombo->setInsertPolicy(QComboBox::NoInsert);
    }
    // The list drops down below the box with the template's height, as a list does, rather
    // than as a menu over the whole screen height (which some styles make of a list-only
    // box, ignoring the number of visible items). Only where the style would make a menu of
    // it: the style sheet makes the box build its list view at once, and every item added
    // afterwards is laid out in it (long with the connection list's hundred profiles).
    QStyleOptionComboBox option;
    option.initFrom(pCombo);
    option.editable = pCombo->isEditable();
    if (pCombo->style()->styleHint(QStyle::SH_ComboBox_Popup, &option, pCombo) != 0)
        pCombo->setStyleSheet(QStringLiteral("QComboBox { combobox-popup: 0; }"));
    return pCombo;
}
} // namespace

CQtDialogBuilder::CQtDialogBuilder(const QFont& font) : m_font(font) {
    const QFontMetrics fm(font);
    const int nWidth = fm.horizontalAdvance(
        QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz"));
    m_cxChar = std::max(1, (nWidth / 26 + 1) / 2);
    // A line of text, leading included: a static two lines high holds two lines at any size
    // (large fonts have leading where small ones have none).
    m_cyChar = std::max(1, fm.lineSpacing());
}

QRect CQtDialogBuilder::MapDialogRect(const SDlgUnitRect& rc) const {
    const int nLeft = ToPixels(rc.x, m_cxChar, 4);
    const int nTop = ToPixels(rc.y, m_cyChar, 8);
    const int nRight = ToPixels(rc.x + rc.cx, m_cxChar, 4);
    const int nBottom = ToPixels(rc.y + rc.cy, m_cyChar, 8);
    return QRect(nLeft, nTop, nRight - nLeft, nBottom - nTop);
}

QWidget* CQtDialogBuilder::CreateItem(const SDlgItemTemplate& item, QWidget* pParent) const {
    QWidget* pWidget = nullptr;
    QRect rc = MapDialogRect(item.rc);
    switch (item.eClass) {
    case EDlgItemClass::Button:
        pWidget = CreateButton(item, pParent);
        break;
    case EDlgItemClass::Edit:
        pWidget = new QLineEdit(pParent);
        break;
    case EDlgItemClass::Static:
        pWidget = CreateStatic(item, pParent);
        break;
    case EDlgItemClass::ComboBox: {
        QComboBox* pCombo = CreateComboBox(item, pParent);
        pCombo->setFont(m_font);
        // The template's height is that of the dropped-down list; the closed box is as high
        // as its font needs, and the list shows as many items as that height holds.
        const int nBoxHeight = pCombo->sizeHint().height();
        const int nItemHeight = std::max(1, QFontMetrics(m_font).height() + 2);
        pCombo->setMaxVisibleItems(std::max(1, (rc.height() - nBoxHeight) / nItemHeight));
        rc.setHeight(nBoxHeight);
        pWidget = pCombo;
        break;
    }
    case EDlgItemClass::TabControl:
        pWidget = new CQtTabControl(*this, pParent);
        break;
    }
    pWidget->setObjectName(QStringLiteral("item%1").arg(item.nID));
    pWidget->setFont(m_font);
    pWidget->setGeometry(rc);
    if ((item.dwStyle & WS::TabStop) == 0)
        pWidget->setFocusPolicy(Qt::NoFocus);
    pWidget->setVisible((item.dwStyle & WS::Visible) != 0);
    return pWidget;
}

std::map<int, QWidget*> CQtDialogBuilder::Build(const SDlgTemplate& dlg, QWidget* pParent) const {
    std::map<int, QWidget*> widgets;
    for (const SDlgItemTemplate& item : dlg.items)
        widgets[item.nID] = CreateItem(item, pParent);
    return widgets;
}

double CQtDialogBuilder::GetFittingUnitX(const SDlgItemTemplate& item) const {
    const QString strText = QString::fromStdString(item.pszText);
    if (strText.isEmpty() || item.rc.cx <= 0)
        return 0;
    const QFontMetrics fm(m_font);
    const QStyle* pStyle = QApplication::style();
    int nNeeded = fm.horizontalAdvance(strText);
    if (item.eClass == EDlgItemClass::Button) {
        switch (item.dwStyle & BS::TypeMask) {
        case BS::AutoCheckBox:
            nNeeded += pStyle->pixelMetric(QStyle::PM_IndicatorWidth) +
                       pStyle->pixelMetric(QStyle::PM_CheckBoxLabelSpacing) + 2;
            break;
        case BS::GroupBox:
            nNeeded += 2 * fm.horizontalAdvance(QLatin1Char(' ')) + 8;
            break;
        default: // the caption is centred inside the frame and may use the margins
            nNeeded += 2 * pStyle->pixelMetric(QStyle::PM_DefaultFrameWidth) + 2;
            break;
        }
    } else if (item.eClass == EDlgItemClass::ComboBox) {
        // An entry of the list, beside the box's arrow and inside its frame.
        QStyleOptionComboBox option;
        option.fontMetrics = fm;
        nNeeded = pStyle
                      ->sizeFromContents(QStyle::CT_ComboBox, &option, QSize(nNeeded, fm.height()),
                                         nullptr)
                      .width();
    } else if (item.eClass == EDlgItemClass::Static) {
        // A text over several lines needs the width at which its words wrap into them.
        const int nLines = std::max(1, ToPixels(item.rc.cy, m_cyChar, 8) / fm.lineSpacing());
        if (nLines > 1) {
            // Lines counted to the nearest whole: a font's last line may be a pixel or two
            // higher or lower than its line spacing.
            const int nSpacing = std::max(1, fm.lineSpacing());
            auto lines = [&](int nWidth) {
                const QRect rc =
                    fm.boundingRect(QRect(0, 0, nWidth, 100000), Qt::TextWordWrap, strText);
                return (rc.height() + nSpacing / 2) / nSpacing;
            };
            int nWidth = nNeeded / nLines;
            while (lines(nWidth) > nLines)
                ++nWidth;
            nNeeded = nWidth;
        }
    } else {
        return 0;
    }
    // One pixel more, for the rounding of the control's edges to whole pixels.
    return 4.0 * (nNeeded + 1) / item.rc.cx;
}

void CQtDialogBuilder::FitText(const SDlgItemTemplate& item, const char* pszText) {
    SDlgItemTemplate withText = item;
    withText.pszText = pszText;
    m_cxChar = std::max(m_cxChar, GetFittingUnitX(withText));
}

void CQtDialogBuilder::FitTexts(const SDlgTemplate& dlg) {
    for (const SDlgItemTemplate& item : dlg.items)
        m_cxChar = std::max(m_cxChar, GetFittingUnitX(item));
}

} // namespace tarnwick
