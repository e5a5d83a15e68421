#pragma once

#include <string>

// Points HOME, the XDG folders and both D-Bus addresses at places of a fresh temporary
// folder, so nothing a Qt program under test does can reach the user's files or the real
// buses. Call it first in main, before anything of Qt is constructed.
void EnterQtSandbox(bool bOffscreen);
