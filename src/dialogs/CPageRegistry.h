#pragma once

#include <cstddef>
#include <functional>
#include <set>

namespace tarnwick {

class CPageDlg;
struct AppSettings;

// The live parameter pages: every page registers itself when it is constructed and leaves
// when it is destroyed, so one call binds, loads or stores all of them without naming
// them. Pages are visited in ascending address order, which for the members of one dialog
// is their declaration order. The registry owns nothing; whoever constructs the pages
// gives them the registry, and it must outlive them.
class CPageRegistry {
public:
    CPageRegistry() = default;
    CPageRegistry(const CPageRegistry&) = delete;
    CPageRegistry& operator=(const CPageRegistry&) = delete;

    void Insert(CPageDlg* pPage) { m_livePages.insert(pPage); }
    void Remove(CPageDlg* pPage) { m_livePages.erase(pPage); }
    std::size_t GetCount() const { return m_livePages.size(); }

    // Binds every live page to pSettings, which loads its controls from it.
    void BindAllPages(AppSettings* pSettings);
    // Every bound page writes its controls back into the record it is bound to.
    void StoreAllPages();

private:
    std::set<CPageDlg*, std::less<>> m_livePages;
};

} // namespace tarnwick
