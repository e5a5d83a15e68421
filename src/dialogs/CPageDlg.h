#pragma once

#include "dialogs/CTabPageDlg.h"

namespace tarnwick {

class CPageRegistry;
struct AppSettings;

// The base of every parameter page: the settings record it edits, loading its controls
// from the record and storing them back, and its membership in the page registry for
// exactly the object's lifetime.
class CPageDlg : public CTabPageDlg {
public:
    CPageDlg(CPageRegistry& registry, unsigned nIDTemplate);
    ~CPageDlg() override;

    // Binds the page to pSettings and loads its controls from it; nullptr unbinds it.
    void Bind(AppSettings* pSettings);
    // Stores the controls into the bound record; nothing while the page is unbound.
    void StoreIfBound();

protected:
    // Record to controls, then the enabling rules.
    virtual void LoadSettings() {}
    // Controls to record.
    virtual void StoreSettings() {}

    AppSettings* m_pSettings = nullptr;

private:
    CPageRegistry& m_registry;
};

} // namespace tarnwick
