#pragma once

#include <cstdint>
#include <span>

namespace tarnwick {

// Dialog templates as data: each control with its id, class, text, style and position in
// dialog units (4 horizontal units = the dialog font's average character width, 8 vertical
// units = its character height). A frontend builds its widgets from these tables.

// Window styles (the values of the Windows dialog format, so a Windows frontend can use them
// unchanged). WS::Popup stands for WS_POPUP and so on: each family is a namespace of its own
// because <windows.h> defines the prefixed names as macros.
namespace WS {
inline constexpr std::uint32_t Popup = 0x80000000u;
inline constexpr std::uint32_t Child = 0x40000000u;
inline constexpr std::uint32_t Visible = 0x10000000u;
inline constexpr std::uint32_t Caption = 0x00C00000u;
inline constexpr std::uint32_t Border = 0x00800000u;
inline constexpr std::uint32_t VScroll = 0x00200000u;
inline constexpr std::uint32_t TabStop = 0x00010000u;
} // namespace WS

// Dialog styles.
namespace DS {
inline constexpr std::uint32_t SysModal = 0x0002u; // stays on top of all other windows
inline constexpr std::uint32_t SetFont = 0x0040u;
inline constexpr std::uint32_t ModalFrame = 0x0080u;
} // namespace DS

// Button styles (the low four bits are the button's type).
namespace BS {
inline constexpr std::uint32_t PushButton = 0x0u;
inline constexpr std::uint32_t DefPushButton = 0x1u;
inline constexpr std::uint32_t AutoCheckBox = 0x3u;
inline constexpr std::uint32_t GroupBox = 0x7u;
inline constexpr std::uint32_t TypeMask = 0xFu;
} // namespace BS

// Static text: left-aligned, words wrap onto further lines.
namespace SS {
inline constexpr std::uint32_t Left = 0x0u;
} // namespace SS

// Edit: scrolls the text sideways instead of stopping at the right edge.
namespace ES {
inline constexpr std::uint32_t AutoHScroll = 0x80u;
} // namespace ES

// Combo box styles (the low two bits are its type).
namespace CBS {
inline constexpr std::uint32_t DropDown = 0x2u;     // edit field and list
inline constexpr std::uint32_t DropDownList = 0x3u; // list only
inline constexpr std::uint32_t TypeMask = 0x3u;
inline constexpr std::uint32_t Sort = 0x100u; // the list keeps its items sorted
} // namespace CBS

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

} // namespace tarnwick
