#pragma once

// A tray header that reaches up into the engine: the layer check must name it.
#include "engine/CMainFrame.h"
