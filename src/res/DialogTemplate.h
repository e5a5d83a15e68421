#pragma once

#include <cstdint>
#include <span>

// Dialog templates as data: each control with its id, class, text, style and position in
// dialog units (4 horizontal units = the dialog font's average character width, 8 vertical
// units = its character height). A frontend builds its widgets from these tables.

// Window styles (the values of the Windows dialog format, so a Windows frontend can use them
// unchanged).
inline constexpr std::uint32_t WS_POPUP = 0x80000000u;
inline constexpr std::uint32_t WS_CHILD = 0x40000000u;
inline constexpr std::uint32_t WS_VISIBLE = 0x10000000u;
inline constexpr std::uint32_t WS_CAPTION = 0x00C00000u;
inline constexpr std::uint32_t WS_BORDER = 0x00800000u;
inline constexpr std::uint32_t WS_VSCROLL = 0x00200000u;
inline constexpr std::uint32_t WS_SYSMENU = 0x00080000u;
inline constexpr std::uint32_t WS_TABSTOP = 0x00010000u;

// Dialog styles.
inline constexpr std::uint32_t DS_SYSMODAL = 0x0002u; // stays on top of all other windows
inline constexpr std::uint32_t DS_SETFONT = 0x0040u;
inline constexpr std::uint32_t DS_MODALFRAME = 0x0080u;

// Button styles (the low four bits are the button's type).
inline constexpr std::uint32_t BS_PUSHBUTTON = 0x0u;
inline constexpr std::uint32_t BS_DEFPUSHBUTTON = 0x1u;
inline constexpr std::uint32_t BS_AUTOCHECKBOX = 0x3u;
inline constexpr std::uint32_t BS_GROUPBOX = 0x7u;
inline constexpr std::uint32_t BS_TYPEMASK = 0xFu;

// Static text: left-aligned, words wrap onto further lines.
inline constexpr std::uint32_t SS_LEFT = 0x0u;

// Edit: scrolls the text sideways instead of stopping at the right edge.
inline constexpr std::uint32_t ES_AUTOHSCROLL = 0x80u;

// Combo box styles (the low two bits are its type).
inline constexpr std::uint32_t CBS_DROPDOWN = 0x2u;     // edit field and list
inline constexpr std::uint32_t CBS_DROPDOWNLIST = 0x3u; // list only
inline constexpr std::uint32_t CBS_TYPEMASK = 0x3u;
inline constexpr std::uint32_t CBS_SORT = 0x100u; // the list keeps its items sorted

enum class EDlgItemClass { Button, Edit, Static, ComboBox, TabControl };

// A rectangle in dialog units: left, top, width, height.
struct SDlgUnitRect {
    int x;
    int y;
    int cx;
    int cy;
};

struct SDlgItemTemplate {
    int nID;
    EDlgItemClass eClass;
    const char* pszText;
    std::uint32_t dwStyle;
    SDlgUnitRect rc; // for a combo box, cy is the height with the list dropped down
};

// Strings added to a combo box's list when the dialog initialises, in this order.
struct SDlgInitData {
    int nID;
    std::span<const char* const> strings;
};

struct SDlgTemplate {
    unsigned nID;
    std::uint32_t dwStyle;
    int cx; // size of the client area in dialog units
    int cy;
    const char* pszCaption;
    int nPointSize;
    const char* pszFaceName;
    std::span<const SDlgItemTemplate> items;
    std::span<const SDlgInitData> initData;

    // The control with this id, or nullptr.
    const SDlgItemTemplate* FindItem(int nItemID) const {
        for (const SDlgItemTemplate& item : items)
            if (item.nID == nItemID)
                return &item;
        return nullptr;
    }
};
