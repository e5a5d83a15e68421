#include "CFakeWindow.h"

#include "platform/IProfileStore.h"

#include <sstream>

namespace tarnwick {

CFakeWindow::CFakeWindow(const SDlgTemplate& dlg, CTabPageDlg* pPage) : m_pPage(pPage) {
    for (const SDlgItemTemplate& t : dlg.items) {
        const bool bCheckBox =
            t.eClass == EDlgItemClass::Button && (t.dwStyle & BS::TypeMask) == BS::AutoCheckBox;
        m_items[t.nID] = {true,           true,      bCheckBox,
                          BST::Unchecked, t.pszText, CComboList((t.dwStyle & CBS::Sort) != 0)};
    }
}

CFakeWindow::~CFakeWindow() {
    for (auto& [pPage, pWindow] : m_pages)
        pPage->DestroyWindow();
}

namespace {
// A profile as one text: reads each value of m_values once, writes "name=value;" to m_str.
class CTextProfile : public IProfileStore {
public:
    std::int32_t ReadProfileInt(const std::string&, const std::string& strName,
                                std::int32_t n) override {
        return std::stoi(ReadProfileString("", strName, std::to_string(n)));
    }
    std::string ReadProfileString(const std::string&, const std::string& strName,
                                  const std::string& str) override {
        const auto node = m_values.extract(strName);
        return node ? node.mapped() : str;
    }
    bool StoreProfileInt(const std::string&, const std::string& strName, std::int32_t n) override {
        return StoreProfileString("", strName, std::to_string(n));
    }
    bool StoreProfileString(const std::string&, const std::string& strName,
                            const std::string& str) override {
        m_str += strName + "=" + str + ";";
        return true;
    }
    bool Commit() override { return true; }
    EProfileLoad GetLoadState() const override { return EProfileLoad::Clean; }
    std::map<std::string, std::string> m_values;
    std::string m_str;
};
} // namespace

AppSettings Record(const std::string& strChanges) {
    CTextProfile profile;
    std::istringstream in(strChanges);
    for (std::string strName, strValue;
         std::getline(in, strName, '=') && std::getline(in, strValue, ';');)
        profile.m_values[strName] = strValue;
    AppSettings settings;
    settings.Load(profile);
    EXPECT_TRUE(profile.m_values.empty()) << "no such field: " << profile.m_values.begin()->first;
    return settings;
}

std::string SettingsText(const AppSettings& settings) {
    CTextProfile profile;
    settings.Save(profile);
    return profile.m_str;
}

} // namespace tarnwick
