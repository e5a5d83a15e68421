#include "dialogs/CPageRegistry.h"

#include "dialogs/CPageDlg.h"

namespace tarnwick {

void CPageRegistry::BindAllPages(AppSettings* pSettings) {
    for (CPageDlg* pPage : m_livePages)
        pPage->Bind(pSettings);
}

void CPageRegistry::StoreAllPages() {
    for (CPageDlg* pPage : m_livePages)
        pPage->StoreIfBound();
}

} // namespace tarnwick
