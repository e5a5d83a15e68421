#include "ui/qt/CQtWindowHints.h"

#include <QGuiApplication>
#include <QWidget>

#include <xcb/xcb.h>

#include <array>
#include <cstdint>
#include <cstdlib>

namespace tarnwick {

namespace {
// The _MOTIF_WM_HINTS record: flags, functions, decorations, input mode, status.
constexpr std::uint32_t MWM_HINTS_FUNCTIONS = 1u << 0;
constexpr std::uint32_t MWM_HINTS_DECORATIONS = 1u << 1;
constexpr std::uint32_t MWM_FUNC_MOVE = 1u << 2;
constexpr std::uint32_t MWM_FUNC_CLOSE = 1u << 5;
constexpr std::uint32_t MWM_DECOR_BORDER = 1u << 1;
constexpr std::uint32_t MWM_DECOR_TITLE = 1u << 3;
constexpr std::uint32_t MWM_DECOR_MENU = 1u << 4;

void SetMotifHints(QWidget& window, std::uint32_t uFunctions, std::uint32_t uDecorations) {
    auto* pX11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
    if (pX11 == nullptr || pX11->connection() == nullptr)
        return;
    xcb_connection_t* pConnection = pX11->connection();
    const char szName[] = "_MOTIF_WM_HINTS";
    xcb_intern_atom_reply_t* pAtom = xcb_intern_atom_reply(
        pConnection, xcb_intern_atom(pConnection, 0, sizeof(szName) - 1, szName), nullptr);
    if (pAtom == nullptr)
        return;
    const std::array<std::uint32_t, 5> hints{MWM_HINTS_FUNCTIONS | MWM_HINTS_DECORATIONS,
                                             uFunctions, uDecorations, 0, 0};
    xcb_change_property(pConnection, XCB_PROP_MODE_REPLACE,
                        static_cast<xcb_window_t>(window.winId()), pAtom->atom, pAtom->atom, 32,
                        static_cast<std::uint32_t>(hints.size()), hints.data());
    xcb_flush(pConnection);
    std::free(pAtom);
}
} // namespace

void RemoveCloseButton(QWidget& window) {
    SetMotifHints(window, MWM_FUNC_MOVE, MWM_DECOR_BORDER | MWM_DECOR_TITLE);
}

void RemoveMinMaxButtons(QWidget& window) {
    SetMotifHints(window, MWM_FUNC_MOVE | MWM_FUNC_CLOSE,
                  MWM_DECOR_BORDER | MWM_DECOR_TITLE | MWM_DECOR_MENU);
}

} // namespace tarnwick
