#pragma once

// The Windows headers for the Windows backends and frontend. Include this before any header
// of the core: <windows.h> defines function-like names of its own (GetProfileInt,
// LoadLibrary, the EWX_ and NIM_ flags, ...) as macros, which would otherwise rename the
// core's members and constants. Windows functions are called by their explicit A names.
#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#ifndef NOMINMAX
#define NOMINMAX
#endif
// clang-format off: the order matters.
#include <commctrl.h>
#include <ras.h>
#include <raserror.h>
#include <shellapi.h>
#include <tlhelp32.h>
#include <windows.h>
#include <winsock2.h>
#include <ws2tcpip.h>
// clang-format on

#undef GetProfileInt
#undef GetProfileString
#undef WriteProfileString
#undef LoadLibrary
#undef GetObject
#undef EWX_SHUTDOWN
#undef EWX_REBOOT
#undef EWX_FORCE
#undef NIM_ADD
#undef NIM_DELETE
#undef NIF_MESSAGE
#undef NIF_ICON
#undef NIF_TIP
#undef BN_CLICKED
#undef BST_CHECKED
#undef BST_UNCHECKED
#undef CBN_SELCHANGE
#undef CB_ERR
#undef EN_KILLFOCUS
#undef IDOK
#undef IDCANCEL
#undef SPI_SETWORKAREA
#undef TCN_SELCHANGE
#undef VK_DELETE
#undef VK_ESCAPE
#undef VK_RETURN
#undef WM_LBUTTONDBLCLK
#undef WM_LBUTTONDOWN
#undef WM_LBUTTONUP
#undef WM_MOUSEMOVE
#undef WM_RBUTTONDOWN
#undef WM_RBUTTONUP
