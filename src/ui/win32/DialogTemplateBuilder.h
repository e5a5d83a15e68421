#pragma once

#include "platform/windows/Win32.h"

#include "res/AboutBox.h"
#include "res/DialogTemplate.h"

#include <vector>

namespace tarnwick {

// Turns the dialog tables of the resources into in-memory DLGTEMPLATEs for
// DialogBoxIndirect and CreateDialogIndirect: the same ids, classes, texts, styles and
// positions in dialog units as every other frontend uses.
class CDialogTemplateBuilder {
public:
    static std::vector<WORD> Build(const SDlgTemplate& tmpl, DWORD dwExtraStyle);
    static std::vector<WORD> Build(const SAboutTemplate& tmpl);
};

} // namespace tarnwick
