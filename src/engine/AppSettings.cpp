#include "engine/AppSettings.h"

#include "engine/PortTable.h"
#include "platform/IProfileStore.h"

#include <type_traits>

namespace tarnwick {

namespace {
// One table drives loading, saving and comparing, so that they cannot disagree on a name, a
// section or the order. The functions get the field of each record given, in that order.
template <typename IntFn, typename StrFn, typename... Settings>
void ForEachField(IntFn fnInt, StrFn fnStr, Settings&... s) {
    fnInt(kSectionGeneral, "CurrentTab", s.CurrentTab...);
    fnInt(kSectionGeneral, "bAutoRun", s.bAutoRun...);
    fnInt(kSectionGeneral, "iAutoRunMethod", s.iAutoRunMethod...);
    fnInt(kSectionGeneral, "bAutoShutdown", s.bAutoShutdown...);
    fnStr(kSectionGeneral, "sShutdownTime", s.sShutdownTime...);
    fnInt(kSectionWatchDogging, "bEnableWatchDogging", s.bEnableWatchDogging...);
    fnStr(kSectionWatchDogging, "sDefaultConnection", s.sDefaultConnection...);
    fnInt(kSectionWatchDogging, "bEstablishConnection", s.bEstablishConnection...);
    fnInt(kSectionWatchDogging, "bCheckConnState", s.bCheckConnState...);
    fnInt(kSectionWatchDogging, "bCheckFileRefresh", s.bCheckFileRefresh...);
    fnInt(kSectionWatchDogging, "bCheckURLDownload", s.bCheckURLDownload...);
    fnInt(kSectionWatchDogging, "iCheckDelay", s.iCheckDelay...);
    fnInt(kSectionWatchDogging, "iMaxFaults", s.iMaxFaults...);
    fnStr(kSectionWatchDogging, "sFileRefresh", s.sFileRefresh...);
    fnStr(kSectionWatchDogging, "sURLDownload", s.sURLDownload...);
    fnInt(kSectionLptResetter, "iLptPort", s.iLptPort...);
    fnInt(kSectionLptResetter, "iDataPort", s.iDataPort...);
    fnInt(kSectionLptResetter, "iCtrlPort", s.iCtrlPort...);
    fnInt(kSectionLptResetter, "iDataPortMask", s.iDataPortMask...);
    fnInt(kSectionLptResetter, "iCtrlPortMask", s.iCtrlPortMask...);
    fnInt(kSectionLptResetter, "iModemOffTime", s.iModemOffTime...);
    fnInt(kSectionLptResetter, "iModemWaitTime", s.iModemWaitTime...);
    fnInt(kSectionLptResetter, "bTryToHangUp", s.bTryToHangUp...);
    fnInt(kSectionLptResetter, "bTryToReestablish", s.bTryToReestablish...);
    fnInt(kSectionLptResetter, "bMakeSureModemOn", s.bMakeSureModemOn...);
    fnInt(kSectionWatchDogging, "iMaxRebootsPerDay", s.iMaxRebootsPerDay...);
}
} // namespace

AppSettings::AppSettings()
    : CurrentTab(0), bAutoRun(0), iAutoRunMethod(0), bAutoShutdown(0), bEnableWatchDogging(1),
      bEstablishConnection(1), bCheckConnState(1), bCheckFileRefresh(0), bCheckURLDownload(0),
      iCheckDelay(2), iMaxFaults(3), sURLDownload(kDefaultURLDownload), iLptPort(1),
      iDataPort(g_PortTable[1].nDataPort), iCtrlPort(g_PortTable[1].nCtrlPort), iDataPortMask(0),
      iCtrlPortMask(4), iModemOffTime(3), iModemWaitTime(15), bTryToHangUp(1), bTryToReestablish(1),
      bMakeSureModemOn(1), iMaxRebootsPerDay(0) {}

void AppSettings::Load(IProfileStore& profile) {
    ForEachField(
        [&](const char* pszSection, const char* pszName, std::int32_t& nField) {
            nField = profile.ReadProfileInt(pszSection, pszName, nField);
        },
        [&](const char* pszSection, const char* pszName, std::string& strField) {
            strField = profile.ReadProfileString(pszSection, pszName, strField);
        },
        *this);
}

bool AppSettings::Save(IProfileStore& profile) const {
    ForEachField(
        [&](const char* pszSection, const char* pszName, const std::int32_t& nField) {
            profile.StoreProfileInt(pszSection, pszName, nField);
        },
        [&](const char* pszSection, const char* pszName, const std::string& strField) {
            profile.StoreProfileString(pszSection, pszName, strField);
        },
        *this);
    return profile.Commit();
}

std::vector<std::string> AppSettings::TakeChanges(const AppSettings& before,
                                                  const AppSettings& after) {
    std::vector<std::string> changes;
    auto take = [&changes](const char*, const char* pszName, auto& field, const auto& fieldBefore,
                           const auto& fieldAfter) {
        if (fieldAfter == fieldBefore)
            return;
        field = fieldAfter;
        if constexpr (std::is_same_v<std::decay_t<decltype(field)>, std::string>)
            changes.push_back(std::string(pszName) + "=\"" + fieldAfter + "\"");
        else
            changes.push_back(std::string(pszName) + "=" + std::to_string(fieldAfter));
    };
    ForEachField(take, take, *this, before, after);
    return changes;
}

} // namespace tarnwick
