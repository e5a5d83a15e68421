#include "platform/windows/Win32.h"

#include "res/Resource.h"
#include "ui/win32/DialogTemplateBuilder.h"

#include <string>

namespace tarnwick {

namespace {
// A DLGTEMPLATE is a sequence of WORDs: the header and each item start on a DWORD boundary.
class CWords {
public:
    void Align() {
        if (m_words.size() % 2 != 0)
            m_words.push_back(0);
    }
    void Word(WORD w) { m_words.push_back(w); }
    void Dword(DWORD dw) {
        Word(LOWORD(dw));
        Word(HIWORD(dw));
    }
    void Text(const std::string& strText) {
        const int nLen = MultiByteToWideChar(CP_ACP, 0, strText.c_str(), -1, nullptr, 0);
        std::wstring wide(static_cast<std::size_t>(nLen > 0 ? nLen : 1), L'\0');
        if (nLen > 0)
            MultiByteToWideChar(CP_ACP, 0, strText.c_str(), -1, wide.data(), nLen);
        for (const wchar_t wc : wide)
            Word(static_cast<WORD>(wc));
    }
    void Header(DWORD dwStyle, int nItems, int cx, int cy, const std::string& strCaption,
                int nPointSize, const std::string& strFace) {
        Dword(dwStyle | DS_SETFONT);
        Dword(0); // extended style
        Word(static_cast<WORD>(nItems));
        Word(0);
        Word(0);
        Word(static_cast<WORD>(cx));
        Word(static_cast<WORD>(cy));
        Word(0); // no menu
        Word(0); // the standard dialog class
        Text(strCaption);
        Word(static_cast<WORD>(nPointSize));
        Text(strFace);
    }
    void Item(DWORD dwStyle, int x, int y, int cx, int cy, int nID, WORD wClassAtom,
              const char* pszClass, const std::string& strText, WORD wIconId = 0) {
        Align();
        Dword(dwStyle | WS_CHILD | WS_VISIBLE);
        Dword(0);
        Word(static_cast<WORD>(x));
        Word(static_cast<WORD>(y));
        Word(static_cast<WORD>(cx));
        Word(static_cast<WORD>(cy));
        Word(static_cast<WORD>(nID));
        if (pszClass != nullptr) {
            Text(pszClass);
        } else {
            Word(0xFFFF);
            Word(wClassAtom);
        }
        if (wIconId != 0) {
            Word(0xFFFF);
            Word(wIconId);
        } else {
            Text(strText);
        }
        Word(0); // no creation data
    }
    std::vector<WORD> Take() { return std::move(m_words); }

private:
    std::vector<WORD> m_words;
};

constexpr WORD kButton = 0x0080;
constexpr WORD kEdit = 0x0081;
constexpr WORD kStatic = 0x0082;
constexpr WORD kComboBox = 0x0085;
} // namespace

std::vector<WORD> CDialogTemplateBuilder::Build(const SDlgTemplate& tmpl, DWORD dwExtraStyle) {
    CWords words;
    words.Header(tmpl.dwStyle | dwExtraStyle, static_cast<int>(tmpl.items.size()), tmpl.cx, tmpl.cy,
                 tmpl.pszCaption != nullptr ? tmpl.pszCaption : "", tmpl.nPointSize,
                 tmpl.pszFaceName != nullptr ? tmpl.pszFaceName : "MS Shell Dlg");
    for (const SDlgItemTemplate& item : tmpl.items) {
        const std::string strText = item.pszText != nullptr ? item.pszText : "";
        DWORD dwStyle = item.dwStyle;
        WORD wAtom = kStatic;
        const char* pszClass = nullptr;
        switch (item.eClass) {
        case EDlgItemClass::Button:
            wAtom = kButton;
            break;
        case EDlgItemClass::Edit:
            wAtom = kEdit;
            dwStyle |= WS_BORDER;
            break;
        case EDlgItemClass::Static:
            wAtom = kStatic;
            break;
        case EDlgItemClass::ComboBox:
            wAtom = kComboBox;
            dwStyle |= WS_VSCROLL;
            break;
        case EDlgItemClass::TabControl:
            pszClass = WC_TABCONTROLA;
            dwStyle |= WS_CLIPSIBLINGS;
            break;
        }
        words.Item(dwStyle, item.rc.x, item.rc.y, item.rc.cx, item.rc.cy, item.nID, wAtom, pszClass,
                   strText);
    }
    return words.Take();
}

std::vector<WORD> CDialogTemplateBuilder::Build(const SAboutTemplate& tmpl) {
    CWords words;
    // Centred on the screen: its owner, the main window, is never shown.
    DWORD dwStyle = WS_POPUP | WS_CAPTION | DS_MODALFRAME | DS_CENTER;
    if (tmpl.bSystemMenu)
        dwStyle |= WS_SYSMENU;
    if (tmpl.bStayOnTop)
        dwStyle |= DS_SYSMODAL;
    words.Header(dwStyle, static_cast<int>(tmpl.controls.size()), tmpl.cx, tmpl.cy, tmpl.strCaption,
                 tmpl.nPointSize, tmpl.strFontName);
    for (const SAboutControl& control : tmpl.controls) {
        const int nID = control.nID < 0 ? 0xFFFF : control.nID;
        switch (control.eKind) {
        case SAboutControl::EKind::Icon:
            words.Item(SS_ICON, control.x, control.y, control.cx, control.cy, nID, kStatic, nullptr,
                       "", static_cast<WORD>(IDR_MAINFRAME));
            break;
        case SAboutControl::EKind::Text:
            words.Item(SS_LEFT | SS_NOPREFIX | WS_GROUP, control.x, control.y, control.cx,
                       control.cy, nID, kStatic, nullptr, control.strText);
            break;
        case SAboutControl::EKind::DefPushButton:
            words.Item(BS_DEFPUSHBUTTON | WS_TABSTOP | WS_GROUP, control.x, control.y, control.cx,
                       control.cy, nID, kButton, nullptr, control.strText);
            break;
        }
    }
    return words.Take();
}

} // namespace tarnwick
