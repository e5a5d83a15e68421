#pragma once

#include <span>

namespace tarnwick {

class IDialogItems;

// Enables or disables the controls of pDlg with the ids pIds[0 .. nCount-1]; ids without a
// control are skipped, and a count of 0 or less does nothing.
void EnableDlgItems(IDialogItems* pDlg, const int* pIds, int nCount, bool bEnable);

inline void EnableDlgItems(IDialogItems* pDlg, std::span<const int> ids, bool bEnable) {
    EnableDlgItems(pDlg, ids.data(), static_cast<int>(ids.size()), bEnable);
}

} // namespace tarnwick
