#include "QtLayoutCheck.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QStyle>
#include <QStyleOptionGroupBox>

namespace {
std::string Name(int nID, const QWidget* pWidget) {
    return std::to_string(nID) + " (" + pWidget->metaObject()->className() + ")";
}

// The part of the widget that must not touch another control.
QRect Footprint(QWidget* pWidget) {
    if (auto* pGroup = qobject_cast<QGroupBox*>(pWidget)) {
        QStyleOptionGroupBox option;
        option.initFrom(pGroup);
        option.text = pGroup->title();
        option.subControls = QStyle::SC_GroupBoxLabel | QStyle::SC_GroupBoxFrame;
        const QRect rcLabel = pGroup->style()->subControlRect(QStyle::CC_GroupBox, &option,
                                                              QStyle::SC_GroupBoxLabel, pGroup);
        return rcLabel.translated(pGroup->pos());
    }
    return pWidget->geometry();
}

// The width and height the widget's text needs.
QSize TextNeeds(QWidget* pWidget) {
    const QFontMetrics fm(pWidget->font());
    if (auto* pLabel = qobject_cast<QLabel*>(pWidget)) {
        if (pLabel->text().isEmpty())
            return QSize();
        const QRect rc =
            fm.boundingRect(QRect(0, 0, pLabel->width(), 100000), Qt::TextWordWrap, pLabel->text());
        return QSize(std::min(fm.horizontalAdvance(pLabel->text()), pLabel->width()), rc.height());
    }
    if (auto* pCheck = qobject_cast<QCheckBox*>(pWidget))
        return QSize(pCheck->sizeHint().width(), fm.height());
    if (auto* pButton = qobject_cast<QPushButton*>(pWidget))
        return QSize(fm.horizontalAdvance(pButton->text()) + 4, fm.height());
    if (auto* pGroup = qobject_cast<QGroupBox*>(pWidget))
        return QSize(Footprint(pGroup).width(), 0);
    return QSize();
}
} // namespace

std::vector<std::string> CheckLayout(QWidget* pWindow, const std::map<int, QWidget*>& widgets) {
    std::vector<std::string> faults;
    for (const auto& [nID, pWidget] : widgets) {
        const QSize needs = TextNeeds(pWidget);
        if (needs.width() > pWidget->width() || needs.height() > pWidget->height())
            faults.push_back(Name(nID, pWidget) + " text needs " + std::to_string(needs.width()) +
                             "x" + std::to_string(needs.height()) + ", has " +
                             std::to_string(pWidget->width()) + "x" +
                             std::to_string(pWidget->height()));
        if (!pWindow->rect().contains(pWidget->geometry()))
            faults.push_back(Name(nID, pWidget) + " lies outside its window");
        for (const auto& [nOtherID, pOther] : widgets) {
            if (nOtherID <= nID)
                continue;
            // Group boxes surround controls; only their captions must stay clear.
            const bool bGroups = qobject_cast<QGroupBox*>(pWidget) != nullptr &&
                                 qobject_cast<QGroupBox*>(pOther) != nullptr;
            const QRect rcA = bGroups ? pWidget->geometry() : Footprint(pWidget);
            const QRect rcB = bGroups ? pOther->geometry() : Footprint(pOther);
            if (rcA.intersects(rcB))
                faults.push_back(Name(nID, pWidget) + " overlaps " + Name(nOtherID, pOther));
        }
    }
    return faults;
}
