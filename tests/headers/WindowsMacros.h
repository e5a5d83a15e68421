#pragma once

// The macros that <windows.h> (MinGW-w64) defines for names the portable core might also use,
// defined here the way Windows defines them. A translation unit that includes this file before
// every core header fails to compile as soon as a core header declares one of these names,
// which it could then not do beside <windows.h> either.

// The standard library comes first: Visual C++'s copes with min and max as macros, which
// libstdc++'s does not need to, as MinGW-w64 defines them for C only.
#include <algorithm>
#include <array>
#include <chrono>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <set>
#include <span>
#include <string>
#include <string_view>
#include <vector>

// Window messages, styles and notifications.
#define WM_LBUTTONDOWN 0x0201
#define WM_LBUTTONUP 0x0202
#define WM_LBUTTONDBLCLK 0x0203
#define WM_RBUTTONDOWN 0x0204
#define WM_RBUTTONUP 0x0205
#define WM_MOUSEMOVE 0x0200
#define WM_TIMER 0x0113
#define WM_COMMAND 0x0111
#define WM_USER 0x0400
#define WM_APP 0x8000
#define WS_POPUP __MSABI_LONG(0x80000000)
#define WS_CHILD __MSABI_LONG(0x40000000)
#define WS_VISIBLE __MSABI_LONG(0x10000000)
#define WS_CAPTION __MSABI_LONG(0x00C00000)
#define WS_BORDER __MSABI_LONG(0x00800000)
#define WS_VSCROLL __MSABI_LONG(0x00200000)
#define WS_SYSMENU __MSABI_LONG(0x00080000)
#define WS_TABSTOP __MSABI_LONG(0x00010000)
#define DS_SYSMODAL __MSABI_LONG(0x02)
#define DS_SETFONT __MSABI_LONG(0x40)
#define DS_MODALFRAME __MSABI_LONG(0x80)
#define BS_PUSHBUTTON __MSABI_LONG(0x00000000)
#define BS_DEFPUSHBUTTON __MSABI_LONG(0x00000001)
#define BS_AUTOCHECKBOX __MSABI_LONG(0x00000003)
#define BS_GROUPBOX __MSABI_LONG(0x00000007)
#define BS_TYPEMASK __MSABI_LONG(0x0000000F)
#define SS_LEFT __MSABI_LONG(0x00000000)
#define ES_AUTOHSCROLL __MSABI_LONG(0x0080)
#define CBS_DROPDOWN __MSABI_LONG(0x0002)
#define CBS_DROPDOWNLIST __MSABI_LONG(0x0003)
#define CBS_SORT __MSABI_LONG(0x0100)
#define CB_ERR (-1)
#define BN_CLICKED 0
#define CBN_SELCHANGE 1
#define EN_KILLFOCUS 0x0200
#define BST_CHECKED 0x0001
#define BST_UNCHECKED 0x0000

// Keys, dialog results, exit flags, tray and system settings.
#define VK_RETURN 0x0D
#define VK_ESCAPE 0x1B
#define VK_DELETE 0x2E
#define TCN_SELCHANGE (-551)
#define IDOK 1
#define IDCANCEL 2
#define IDYES 6
#define IDNO 7
#define EWX_LOGOFF 0x00000000
#define EWX_SHUTDOWN 0x00000001
#define EWX_REBOOT 0x00000002
#define EWX_FORCE 0x00000004
#define EWX_POWEROFF 0x00000008
#define NIM_ADD 0x00000000
#define NIM_MODIFY 0x00000001
#define NIM_DELETE 0x00000002
#define NIF_MESSAGE 0x00000001
#define NIF_ICON 0x00000002
#define NIF_TIP 0x00000004
#define SPI_SETWORKAREA 0x002F
#define SPI_SETDESKWALLPAPER 0x0014
#define MF_STRING __MSABI_LONG(0x00000000)
#define MF_BYPOSITION __MSABI_LONG(0x00000400)
#define MF_BYCOMMAND __MSABI_LONG(0x00000000)
#define MF_GRAYED __MSABI_LONG(0x00000001)
#define MF_CHECKED __MSABI_LONG(0x00000008)
#define MF_SEPARATOR __MSABI_LONG(0x00000800)
#define TPM_RIGHTBUTTON __MSABI_LONG(0x0002)

// Functions that are A/W macros.
#define LoadLibrary __MINGW_NAME_AW(LoadLibrary)
#define GetWindowText __MINGW_NAME_AW(GetWindowText)
#define SetWindowText __MINGW_NAME_AW(SetWindowText)
#define DefWindowProc __MINGW_NAME_AW(DefWindowProc)
#define ModifyMenu __MINGW_NAME_AW(ModifyMenu)
#define GetMenuString __MINGW_NAME_AW(GetMenuString)
#define GetProfileInt __MINGW_NAME_AW(GetProfileInt)
#define GetProfileString __MINGW_NAME_AW(GetProfileString)
#define WriteProfileString __MINGW_NAME_AW(WriteProfileString)
#define SendMessage __MINGW_NAME_AW(SendMessage)
#define PostMessage __MINGW_NAME_AW(PostMessage)
#define LoadIcon __MINGW_NAME_AW(LoadIcon)
#define LoadString __MINGW_NAME_AW(LoadString)
#define LoadMenu __MINGW_NAME_AW(LoadMenu)
#define LoadCursor __MINGW_NAME_AW(LoadCursor)
#define MessageBox __MINGW_NAME_AW(MessageBox)
#define CreateWindow __MINGW_NAME_AW(CreateWindow)
#define CreateFile __MINGW_NAME_AW(CreateFile)
#define DeleteFile __MINGW_NAME_AW(DeleteFile)
#define GetObject __MINGW_NAME_AW(GetObject)
#define GetClassName __MINGW_NAME_AW(GetClassName)
#define DrawText __MINGW_NAME_AW(DrawText)
#define AppendMenu __MINGW_NAME_AW(AppendMenu)
#define InsertMenu __MINGW_NAME_AW(InsertMenu)
#define FindWindow __MINGW_NAME_AW(FindWindow)
#define GetModuleFileName __MINGW_NAME_AW(GetModuleFileName)
#define GetUserName __MINGW_NAME_AW(GetUserName)
#define GetMessage __MINGW_NAME_AW(GetMessage)
#define DispatchMessage __MINGW_NAME_AW(DispatchMessage)
#define RegisterClass __MINGW_NAME_AW(RegisterClass)
#define CreateDialog __MINGW_NAME_AW(CreateDialog)
#define DialogBox __MINGW_NAME_AW(DialogBox)
#define CreateEvent __MINGW_NAME_AW(CreateEvent)
#define CreateMutex __MINGW_NAME_AW(CreateMutex)
#define FormatMessage __MINGW_NAME_AW(FormatMessage)
#define OutputDebugString __MINGW_NAME_AW(OutputDebugString)
#define GetEnvironmentVariable __MINGW_NAME_AW(GetEnvironmentVariable)
#define SetEnvironmentVariable __MINGW_NAME_AW(SetEnvironmentVariable)
#define ExpandEnvironmentStrings __MINGW_NAME_AW(ExpandEnvironmentStrings)
#define CreateProcess __MINGW_NAME_AW(CreateProcess)
#define GetVersionEx __MINGW_NAME_AW(GetVersionEx)
#define RegSetValueEx __MINGW_NAME_AW(RegSetValueEx)
#define RegQueryValueEx __MINGW_NAME_AW(RegQueryValueEx)
#define RegOpenKeyEx __MINGW_NAME_AW(RegOpenKeyEx)
#define Shell_NotifyIcon __MINGW_NAME_AW(Shell_NotifyIcon)
#define GetCurrentTime() GetTickCount()
#define Yield()

// Ordinary words.
#define ERROR 0
#define DELETE (__MSABI_LONG(0x00010000))
#define IN
#define OUT
#define OPTIONAL
#define CONST const
#define VOID void
#define TRUE 1
#define FALSE 0
#define CALLBACK __stdcall
#define WINAPI __stdcall
#define PASCAL __stdcall
#define interface struct
#define near
#define far
#define hyper __int64
#define ABSOLUTE 1
#define RELATIVE 2
#define TRANSPARENT 1
#define OPAQUE 2
#define IGNORE 0
#define INFINITE 0xffffffff

// Visual C++ defines these unless NOMINMAX is set.
#define min(a, b) (((a) < (b)) ? (a) : (b))
#define max(a, b) (((a) > (b)) ? (a) : (b))
