#include "dialogs/CPageDlg.h"

#include "dialogs/CPageRegistry.h"

namespace tarnwick {

CPageDlg::CPageDlg(CPageRegistry& registry, unsigned nIDTemplate)
    : CTabPageDlg(nIDTemplate), m_registry(registry) {
    m_registry.Insert(this);
}

CPageDlg::~CPageDlg() {
    m_registry.Remove(this);
}

void CPageDlg::Bind(AppSettings* pSettings) {
    m_pSettings = pSettings;
    if (m_pSettings != nullptr)
        LoadSettings();
}

void CPageDlg::StoreIfBound() {
    if (m_pSettings != nullptr)
        StoreSettings();
}

} // namespace tarnwick
