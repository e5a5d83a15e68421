#pragma once

// The Windows headers of the Windows backends and frontend, in the order they need. Windows
// functions are called by their explicit A names.
#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#ifndef NOMINMAX
#define NOMINMAX
#endif
// The order matters: Winsock 2 before <windows.h>, <windows.h> before the rest.
// clang-format off
#include <winsock2.h>
#include <ws2tcpip.h>
#include <windows.h>
#include <commctrl.h>
#include <commdlg.h>
#include <ras.h>
#include <raserror.h>
#include <shellapi.h>
#include <tlhelp32.h>
// clang-format on
