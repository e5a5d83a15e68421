#include "dialogs/EnableDlgItems.h"

#include "dialogs/IDialogItems.h"

namespace tarnwick {

void EnableDlgItems(IDialogItems* pDlg, const int* pIds, int nCount, bool bEnable) {
    if (pDlg == nullptr || pIds == nullptr)
        return;
    for (int i = 0; i < nCount; ++i)
        if (pDlg->HasItem(pIds[i]))
            pDlg->EnableItem(pIds[i], bEnable);
}

} // namespace tarnwick
