#pragma once

#include "tray/CMenu.h"

namespace tarnwick {

// Menu 130: its first (and only) pop-up is the tray menu. A fresh copy on every call.
CMenu LoadTrayMenu();

} // namespace tarnwick
