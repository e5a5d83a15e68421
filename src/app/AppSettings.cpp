#include "app/AppSettings.h"

#include "app/IProfileStore.h"
#include "engine/PortTable.h"

namespace tarnwick {

namespace {
// One table drives both directions so that loading and saving cannot disagree on a name,
// a section or the order.
template <typename Settings, typename IntFn, typename StrFn>
void ForEachField(Settings& s, IntFn fnInt, StrFn fnStr) {
    fnInt(kSectionGeneral, "CurrentTab", s.CurrentTab);
    fnInt(kSectionGeneral, "bAutoRun", s.bAutoRun);
    fnInt(kSectionGeneral, "iAutoRunMethod", s.iAutoRunMethod);
    fnInt(kSectionGeneral, "bAutoShutdown", s.bAutoShutdown);
    fnStr(kSectionGeneral, "sShutdownTime", s.sShutdownTime);
    fnInt(kSectionWatchDogging, "bEnableWatchDogging", s.bEnableWatchDogging);
    fnStr(kSectionWatchDogging, "sDefaultConnection", s.sDefaultConnection);
    fnInt(kSectionWatchDogging, "bEstablishConnection", s.bEstablishConnection);
    fnInt(kSectionWatchDogging, "bCheckConnState", s.bCheckConnState);
    fnInt(kSectionWatchDogging, "bCheckFileRefresh", s.bCheckFileRefresh);
    fnInt(kSectionWatchDogging, "bCheckURLDownload", s.bCheckURLDownload);
    fnInt(kSectionWatchDogging, "iCheckDelay", s.iCheckDelay);
    fnInt(kSectionWatchDogging, "iMaxFaults", s.iMaxFaults);
    fnStr(kSectionWatchDogging, "sFileRefresh", s.sFileRefresh);
    fnStr(kSectionWatchDogging, "sURLDownload", s.sURLDownload);
    fnInt(kSectionLptResetter, "iLptPort", s.iLptPort);
    fnInt(kSectionLptResetter, "iDataPort", s.iDataPort);
    fnInt(kSectionLptResetter, "iCtrlPort", s.iCtrlPort);
    fnInt(kSectionLptResetter, "iDataPortMask", s.iDataPortMask);
    fnInt(kSectionLptResetter, "iCtrlPortMask", s.iCtrlPortMask);
    fnInt(kSectionLptResetter, "iModemOffTime", s.iModemOffTime);
    fnInt(kSectionLptResetter, "iModemWaitTime", s.iModemWaitTime);
    fnInt(kSectionLptResetter, "bTryToHangUp", s.bTryToHangUp);
    fnInt(kSectionLptResetter, "bTryToReestablish", s.bTryToReestablish);
    fnInt(kSectionLptResetter, "bMakeSureModemOn", s.bMakeSureModemOn);
    fnInt(kSectionWatchDogging, "iMaxRebootsPerDay", s.iMaxRebootsPerDay);
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
        *this,
        [&](const char* pszSection, const char* pszName, std::int32_t& nField) {
            nField = profile.ReadProfileInt(pszSection, pszName, nField);
        },
        [&](const char* pszSection, const char* pszName, std::string& strField) {
            strField = profile.ReadProfileString(pszSection, pszName, strField);
        });
}

bool AppSettings::Save(IProfileStore& profile) const {
    ForEachField(
        *this,
        [&](const char* pszSection, const char* pszName, const std::int32_t& nField) {
            profile.StoreProfileInt(pszSection, pszName, nField);
        },
        [&](const char* pszSection, const char* pszName, const std::string& strField) {
            profile.StoreProfileString(pszSection, pszName, strField);
        });
    return profile.Commit();
}

} // namespace tarnwick
