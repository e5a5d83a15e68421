#pragma once

#include <string>
#include <vector>

namespace tarnwick {

// Dialog template 100, the about box, as data: positions and sizes in dialog units (a
// quarter of the dialog font's average character width across, an eighth of its height
// down), which a frontend converts with the metrics of the font it uses.
struct SAboutControl {
    enum class EKind {
        Icon,         // the program icon (icon 128) at its natural size
        Text,         // one line of static text, shown as it is (no mnemonic)
        DefPushButton // the default push button; it ends the dialog
    };
    EKind eKind = EKind::Text;
    int nID = -1;
    std::string strText;
    int x = 0, y = 0, cx = 0, cy = 0;
};

struct SAboutTemplate {
    std::string strCaption;
    std::string strFontName;
    int nPointSize = 8;
    int cx = 0, cy = 0;
    // The caption has no close button (no system menu); the box stays above other windows.
    bool bSystemMenu = false;
    bool bStayOnTop = true;
    std::vector<SAboutControl> controls;
};

const SAboutTemplate& AboutBoxTemplate();

} // namespace tarnwick
