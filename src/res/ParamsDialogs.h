#pragma once

#include "res/DialogTemplate.h"

#include <array>

namespace tarnwick {

// The parameters dialog (130) and its pages: "LPT Resetter" (131), "WatchDogging" (132) and
// "General" (133). The template with that id, or nullptr.
const SDlgTemplate* FindDialogTemplate(unsigned nID);

// The names of the autorun methods in the General page's list, index = iAutoRunMethod.
// They sort into this order (with and without regard to case), which the sorted list needs.
extern const std::array<const char*, 2> g_AutorunMethodNames;

// Shown on the LPT Resetter page when the port-I/O module could not be loaded.
extern const char* const g_pszPortLibMissing;

// The tab captions of the parameters dialog, in tab order.
extern const std::array<const char*, 3> g_ParamsTabCaptions;

} // namespace tarnwick
