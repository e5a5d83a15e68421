#pragma once

#include "dialogs/CDlgControl.h"

#include <string>

namespace tarnwick {

// A combo box and its list.
class CComboBox : public CDlgControl {
public:
    int AddString(const std::string& strText);
    int GetCount();
    std::string GetLBText(int nIndex);
    int GetCurSel();
    int SetCurSel(int nIndex);
    int SelectString(int nStartAfter, const std::string& strPrefix);
};

} // namespace tarnwick
