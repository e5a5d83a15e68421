#include "CPageHarness.h"

#include "app/IProfileStore.h"

namespace {
// A profile that only writes, into one text.
class CTextProfile : public IProfileStore {
public:
    std::int32_t GetProfileInt(const std::string&, const std::string&, std::int32_t n) override {
        return n;
    }
    std::string GetProfileString(const std::string&, const std::string&,
                                 const std::string& str) override {
        return str;
    }
    bool WriteProfileInt(const std::string&, const std::string& strName, std::int32_t n) override {
        m_str += strName + "=" + std::to_string(n) + ";";
        return true;
    }
    bool WriteProfileString(const std::string&, const std::string& strName,
                            const std::string& str) override {
        m_str += strName + "=" + str + ";";
        return true;
    }
    bool Commit() override { return true; }
    std::string m_str;
};
} // namespace

std::string SettingsText(const AppSettings& settings) {
    CTextProfile profile;
    settings.Save(profile);
    return profile.m_str;
}
